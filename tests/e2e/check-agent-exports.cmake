# Fails unless e2e_agent.dll exports exactly the functions the driver asks GetProcAddress for: the
# names of agent.h's constants, with no stdcall decoration ("Name@4") and nothing else.
# Run as: cmake -DDLL=... -DOBJDUMP=... -DHEADER=agent.h -P check-agent-exports.cmake
file(STRINGS ${HEADER} lines REGEX "constexpr char k[A-Za-z0-9]+\\[\\] = \"[^\"]+\";")
set(wanted "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE ".*= \"([^\"]+)\";.*" "\\1" name "${line}")
  list(APPEND wanted ${name})
endforeach()
if(NOT wanted)
  message(FATAL_ERROR "no export names found in ${HEADER}")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump could not read ${DLL}")
endif()
# The name pointer table: lines such as "	[   0] +base[   1]  0000 E2eAgentChangeDpi".
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${DLL} has no export table")
endif()
string(SUBSTRING "${dump}" ${at} -1 table)
string(FIND "${table}" "\n\n" end)  # the table ends at the first empty line
string(SUBSTRING "${table}" 0 ${end} table)
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\r\n]+" rows "${table}")
set(exported "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE ".* ([^ ]+)$" "\\1" name "${row}")
  list(APPEND exported ${name})
endforeach()

list(SORT wanted)
list(SORT exported)
if(NOT wanted STREQUAL exported)
  message(FATAL_ERROR "${DLL} exports [${exported}], the driver calls [${wanted}]")
endif()
message(STATUS "exports ${exported}")
