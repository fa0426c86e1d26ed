# The game's folders as layers. zk_layer(dir SOURCES ... SEES ...) makes the
# static library zk<dir> from the folder's sources; it links the libraries of
# the folders it SEES, and it compiles against a view of the source tree that
# holds only its own folder and those: an #include of any other folder fails
# to compile. List only folders below, but for the few two-way pairs that the
# README's layout section names.
# The platform's functions are defined by one of its two backends, which
# must come after every layer on a program's link line: the program names
# its backend in the property ZK_BACKEND (zkplatform_sdl), else it gets the
# headless one.
add_library(zkbackend INTERFACE)
set(backend $<TARGET_PROPERTY:ZK_BACKEND>)
target_link_libraries(zkbackend INTERFACE $<IF:$<BOOL:${backend}>,${backend},zkplatform_headless>)

function(zk_layer dir)
  cmake_parse_arguments(arg "" "" "SOURCES;SEES" ${ARGN})
  set(view ${CMAKE_BINARY_DIR}/layers/${dir})
  file(REMOVE_RECURSE ${view})
  file(MAKE_DIRECTORY ${view})
  foreach(seen ${dir} ${arg_SEES})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${seen} ${view}/${seen} SYMBOLIC)
  endforeach()
  add_library(zk${dir} STATIC ${arg_SOURCES})
  target_include_directories(zk${dir} PRIVATE ${view})
  foreach(seen ${arg_SEES})
    if(NOT seen STREQUAL "platform" AND NOT seen STREQUAL "resources")
      target_link_libraries(zk${dir} PUBLIC zk${seen})
    endif()
  endforeach()
  if(NOT dir STREQUAL "resources") # the bottom: it sees nothing of the game
    target_link_libraries(zk${dir} PUBLIC zkplatform zkresources zkbackend)
  endif()
  target_link_libraries(zk${dir} PUBLIC Threads::Threads)
endfunction()
