# Header-only libraries of this machine for the MinGW build. Their packages name
# /usr/include, which must not reach a MinGW compile (it holds this machine's C
# library), so each is offered through a folder that holds only its own headers.
function(orvane_offer_host_headers package header_folder version_file)
  if(NOT EXISTS /usr/include/${header_folder})
    return()
  endif()
  set(stage ${CMAKE_BINARY_DIR}/host-headers/${package})
  file(MAKE_DIRECTORY ${stage}/include)
  file(CREATE_LINK /usr/include/${header_folder} ${stage}/include/${header_folder} SYMBOLIC)
  file(WRITE ${stage}/${package}Config.cmake
       "set(${package}_INCLUDE_DIRS ${stage}/include)\n${ARGN}\n")
  configure_file(${version_file} ${stage}/${package}ConfigVersion.cmake COPYONLY)
  set(${package}_DIR ${stage} CACHE PATH "Where the MinGW build finds ${package}" FORCE)
endfunction()

orvane_offer_host_headers(nlohmann_json nlohmann
  /usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake
  "add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                      INTERFACE_INCLUDE_DIRECTORIES \${nlohmann_json_INCLUDE_DIRS})")
orvane_offer_host_headers(RapidJSON rapidjson
  /usr/share/cmake/RapidJSON/RapidJSONConfigVersion.cmake
  "set(RAPIDJSON_INCLUDE_DIRS \${RapidJSON_INCLUDE_DIRS})")
