# add_game(<executable name> <sources...> [ARCHIVE <files...>])
# A game is its GameMain plus its project settings; the engine supplies main(). The
# files after ARCHIVE are packed into a resource archive appended to the executable
# after every link; the game reaches them with SelectArchive and its own file name.
# The same function serves games inside this repository and games built against the
# installed engine (find_package(Trovane)).
function(add_game name)
  cmake_parse_arguments(PARSE_ARGV 1 game "" "" "ARCHIVE")
  add_executable(${name} ${game_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE Trovane::engine_entry Trovane::engine)
  if(game_ARCHIVE)
    # Relative names are files of the game's source folder.
    set(archive_files)
    foreach(file IN LISTS game_ARCHIVE)
      cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
      list(APPEND archive_files ${file})
    endforeach()
    # Relink when a packed file changes, so the append always starts from a fresh
    # executable rather than adding a second archive behind the first.
    add_custom_target(${name}_archive_files DEPENDS ${archive_files})
    add_dependencies(${name} ${name}_archive_files)
    if(TARGET vtlpack)
      add_dependencies(${name} vtlpack)
    endif()
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${archive_files})
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND $<TARGET_FILE:Trovane::vtlpack> append $<TARGET_FILE:${name}> ${archive_files}
      COMMENT "Appending ${name}'s resource archive")
  endif()
endfunction()
