# add_game(<executable name> <sources...>)
# A game is its GameMain plus its project settings; the engine supplies main().
function(add_game name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE engine_entry engine)
endfunction()
