-- Runs inside Ardour's Lua session tool: loads the session lv2_session_save.lua saved and prints
-- the plug-in's ports' values and "loaded".
ARDOUR.config():set_hide_dummy_backend(false)
AudioEngine:set_backend("None (Dummy)", "", "")
assert(AudioEngine:start(false) == 0, "the dummy engine starts")
assert(load_session(arg[1], "zorvane-lv2"), "the saved session loads")
for route in Session:get_routes():iter() do
  local plugin = route:nth_plugin(0)
  if not plugin:isnil() then
    local lv2 = plugin:to_insert():plugin(0)
    local values = {}
    for port = 0, lv2:parameter_count() - 1 do
      values[#values + 1] = string.format("%.6g", ARDOUR.LuaAPI.get_processor_param(plugin, port, true))
    end
    print("values " .. table.concat(values, " "))
  end
end
print("loaded")
