# Dependencies run one way: the application shell on everything, the subsystems on core and on
# each other, core on Qt alone. Run with -DSOURCE_DIR=<src>; fails naming every include that
# reaches the wrong way.
set(rules
  "core=(alarm|alert|app|audio|detect|guard|platform|report|settings|sounds)/"
  "alert=app/"
  "alarm=app/"
  "audio=app/"
  "detect=app/"
  "guard=app/"
  "report=app/"
  "settings=app/"
  "sounds=app/"
)
set(violations "")
foreach(rule IN LISTS rules)
  string(REGEX MATCH "^([a-z]+)=(.*)$" parsed "${rule}")
  set(folder "${CMAKE_MATCH_1}")
  set(forbidden "${CMAKE_MATCH_2}")
  file(GLOB files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME)
    file(STRINGS "${file}" lines REGEX "^#include \"${forbidden}")
    foreach(line IN LISTS lines)
      string(APPEND violations "\n  ${folder}/${name}: ${line}")
    endforeach()
  endforeach()
endforeach()
if(violations)
  message(FATAL_ERROR "includes against the layering:${violations}")
endif()
message(STATUS "layering holds")
