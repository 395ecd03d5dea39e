-- Runs inside Ardour's Lua session tool: a session on the dummy backend with the LV2 plug-in on a
-- stereo track, one of its presets applied, saved. Prints the ports' values before and after the
-- preset, and "saved".
ARDOUR.config():set_hide_dummy_backend(false)
AudioEngine:set_backend("None (Dummy)", "", "")
assert(AudioEngine:start(false) == 0, "the dummy engine starts")
assert(create_session(arg[1], "zorvane-lv2", 48000), "a new session")
local track = Session:new_audio_track(2, 2, nil, 1, "check", ARDOUR.PresentationInfo.max_order,
                                      ARDOUR.TrackMode.Normal, true):front()
local plugin = ARDOUR.LuaAPI.new_plugin(Session, arg[2], ARDOUR.PluginType.LV2, "")
assert(not plugin:isnil(), "the plug-in instantiates")
assert(track:add_processor_by_index(plugin, 0, nil, true) == 0, "the plug-in is inserted")
local lv2 = plugin:to_insert():plugin(0)
local chosen
local count = 0
for preset in lv2:get_info():get_presets(false):iter() do
  count = count + 1
  if preset.label == "Ping-pong delay - 3/4 beat" then chosen = preset end
end
print("presets", count)
assert(count == 34 and chosen, "the 34 programs are presets, by their full names")
local function values()
  local all = {}
  for port = 0, lv2:parameter_count() - 1 do
    all[#all + 1] = string.format("%.6g", ARDOUR.LuaAPI.get_processor_param(plugin, port, true))
  end
  return table.concat(all, " ")
end
print("fresh " .. values())
assert(lv2:load_preset(chosen), "the preset applies")
ARDOUR.LuaAPI.usleep(200000)
print("values " .. values())
Session:save_state("", false, false, false, false, false)
print("saved")
