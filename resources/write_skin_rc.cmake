# Writes a module's resource script: the banks' lines, then every APIC file of FOLDER named after
# the file in upper case, in name order.
file(READ ${BANKS} lines)
file(GLOB pictures ${FOLDER}/*.apic)
list(SORT pictures)
foreach(picture ${pictures})
  get_filename_component(name ${picture} NAME_WE)
  string(TOUPPER ${name} name)
  string(APPEND lines "${name} APIC \"${picture}\"\n")
endforeach()
file(WRITE ${OUTPUT} "${lines}")
