# RapidJSON, header-only: the JSON reader of the address book and the mail store,
# which the Windows build compiles too. Its headers are reached through a folder
# of their own, so that a cross build does not put the host's /usr/include (and
# its C library) on the include path.
if(NOT TARGET orvane_rapidjson)
  find_path(ORVANE_RAPIDJSON_HEADERS reader.h PATHS /usr/include/rapidjson
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(ORVANE_RAPIDJSON_FOLDER ${CMAKE_BINARY_DIR}/rapidjson-include)
  file(MAKE_DIRECTORY ${ORVANE_RAPIDJSON_FOLDER})
  file(CREATE_LINK ${ORVANE_RAPIDJSON_HEADERS} ${ORVANE_RAPIDJSON_FOLDER}/rapidjson SYMBOLIC)
  add_library(orvane_rapidjson INTERFACE)
  target_include_directories(orvane_rapidjson SYSTEM INTERFACE ${ORVANE_RAPIDJSON_FOLDER})
endif()
