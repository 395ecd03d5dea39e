# Writes a module's resource script: the banks' lines, then for each "TYPE=FOLDER" of FOLDERS
# (separated by '|') every APIC file of the folder, named after the file in upper case, in name
# order, under that type.
file(READ ${BANKS} lines)
string(REPLACE "|" ";" folders "${FOLDERS}")
foreach(entry ${folders})
  string(FIND "${entry}" "=" equals)
  string(SUBSTRING "${entry}" 0 ${equals} type)
  math(EXPR start "${equals} + 1")
  string(SUBSTRING "${entry}" ${start} -1 folder)
  file(GLOB pictures ${folder}/*.apic)
  list(SORT pictures)
  foreach(picture ${pictures})
    get_filename_component(name ${picture} NAME_WE)
    string(TOUPPER ${name} name)
    string(APPEND lines "${name} ${type} \"${picture}\"\n")
  endforeach()
endforeach()
file(WRITE ${OUTPUT} "${lines}")
