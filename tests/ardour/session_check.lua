-- Runs inside Ardour's Lua session tool: a session on the dummy backend with a sine on its
-- inputs, a stereo track with the plug-in inserted, and the track's meter read with the plug-in
-- active, bypassed and with its output levels set to -oo by the host. Prints "check passed" when
-- all holds.
ARDOUR.config():set_hide_dummy_backend(false)
local backend = AudioEngine:set_backend("None (Dummy)", "", "")
backend:set_device_name("Sine Wave")
assert(AudioEngine:start(false) == 0, "the dummy engine starts")
assert(create_session(arg[1], "zorvane-check", 48000), "a new session")

local track = Session:new_audio_track(2, 2, nil, 1, "check", ARDOUR.PresentationInfo.max_order,
                                      ARDOUR.TrackMode.Normal, true):front()
local plugin = ARDOUR.LuaAPI.new_plugin(Session, "Zorvane", ARDOUR.PluginType.LXVST, "")
assert(not plugin:isnil(), "the plug-in instantiates")
assert(track:add_processor_by_index(plugin, 0, nil, true) == 0, "the plug-in is inserted")
local insert = plugin:to_insert()
print("plug-in", insert:plugin(0):name(), insert:plugin(0):parameter_count())
assert(insert:plugin(0):parameter_count() == 121, "121 parameters")

-- The programs are Ardour's factory presets, listed by number and name.
local presets = {}
for preset in insert:plugin(0):get_info():get_presets(false):iter() do
  presets[#presets + 1] = preset.label
end
print("presets", #presets, presets[1], presets[#presets])
assert(#presets == 34, "34 presets")
assert(presets[1] == "0 - Simple delay - 3/4 beat" and presets[32] == "31 - Oscibratonance" and
       presets[34] == "33 - Yellow engine", "presets by name")

track:input():audio(0):connect("system:capture_1")
track:input():audio(1):connect("system:capture_2")
track:monitoring_control():set_value(ARDOUR.MonitorChoice.MonitorInput, PBD.GroupControlDisposition.NoGroup)

local function peak()
  ARDOUR.LuaAPI.usleep(300000)
  track:peak_meter():reset_max()
  ARDOUR.LuaAPI.usleep(500000)
  return track:peak_meter():meter_level(0, ARDOUR.MeterType.MeterMaxPeak)
end
local active = peak()
insert:deactivate()
local bypassed = peak()
insert:activate()
-- The pre-delay level and line 1's level at -oo: the plug-in itself silences the track.
ARDOUR.LuaAPI.set_processor_param(plugin, 2, 0)
ARDOUR.LuaAPI.set_processor_param(plugin, 55, 0)
local silenced = peak()
print(string.format("peaks: active %.1f dB, bypassed %.1f dB, its output levels at -oo %.1f dB", active, bypassed,
                    silenced))
assert(bypassed > -30, "the sine reaches the track")
assert(active > -30, "the plug-in passes the sound at its defaults")
assert(silenced < bypassed - 30, "the plug-in processes the sound: the host's parameter changes silence it")
local measured, stats = insert:get_stats(0, 0, 0, 0)
assert(measured, "Ardour timed the plug-in's processing")
print(string.format("processing: %.0f us per cycle on average", stats[3]))
print("check passed")
