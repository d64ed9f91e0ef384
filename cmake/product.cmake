# The product's facts, from release/product.env: QUORVEL_VERSION ("1.0"), shown as
# QUORVEL_VERSION_TEXT ("1.00") in the version record and the release's names, QUORVEL_PUBLISHER
# and the rest. `cmake -P cmake/product.cmake` prints the version as shown.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../release/product.env facts REGEX "^QUORVEL_[A-Z_]+=")
foreach(fact IN LISTS facts)
  string(REGEX MATCH "^([A-Z_]+)=\"?([^\"]*)\"?$" _ "${fact}")
  set(${CMAKE_MATCH_1} "${CMAKE_MATCH_2}")
endforeach()

string(REGEX MATCH "^([0-9]+)\\.([0-9]+)$" _ "${QUORVEL_VERSION}")
if(CMAKE_MATCH_2 LESS 10)
  set(QUORVEL_VERSION_TEXT "${CMAKE_MATCH_1}.0${CMAKE_MATCH_2}")
else()
  set(QUORVEL_VERSION_TEXT "${CMAKE_MATCH_1}.${CMAKE_MATCH_2}")
endif()
if(CMAKE_SCRIPT_MODE_FILE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${QUORVEL_VERSION_TEXT}")
endif()
