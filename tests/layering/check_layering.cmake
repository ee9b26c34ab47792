# Checks that each folder includes only the project headers it may, and that
# the platform-free folders include no Qt header.
#   cmake -DSOURCE_DIR=<tree> [-DLINK_REPORT=<file>] -P check_layering.cmake
# Fails (a non-zero exit through FATAL_ERROR) and names every offending line.

cmake_minimum_required(VERSION 3.25)

# Folder, then the folders whose headers it may include besides its own.
set(allowed_base "")
set(allowed_components "base")
set(allowed_notation "base")
set(allowed_sound "base;components")
set(allowed_files "base")
set(allowed_toolkit "base;components")
set(allowed_keyentry "base;components;notation;sound;toolkit")
set(allowed_cli "base;components;notation;sound;files")
set(allowed_app "base;components;notation;sound;files;toolkit;keyentry;resources")
set(qt_free base components notation sound files cli)
set(project_folders base components notation sound files toolkit keyentry app
    cli resources)

set(faults "")
foreach(folder base components notation sound files toolkit keyentry cli app)
  file(GLOB_RECURSE sources LIST_DIRECTORIES false
       ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(source IN LISTS sources)
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([a-z_]+)/")
        set(target_folder ${CMAKE_MATCH_1})
        if(target_folder IN_LIST project_folders
           AND NOT target_folder STREQUAL folder
           AND NOT target_folder IN_LIST allowed_${folder})
          string(APPEND faults "  ${source}: ${line}\n")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<Q[A-Za-z]*>"
             AND folder IN_LIST qt_free)
        string(APPEND faults "  ${source}: ${line} (no Qt here)\n")
      endif()
    endforeach()
  endforeach()
endforeach()

# Direct links, as the build system records them.
if(DEFINED LINK_REPORT)
  set(links_quillora_base "")
  set(links_quillora_components "quillora_base")
  set(links_quillora_notation "quillora_base")
  set(links_quillora_sound "quillora_components;quillora_base;Threads::Threads")
  set(links_quillora_app_rules "quillora_base")
  set(links_quillora_toolkit "quillora_components;Qt6::Widgets")
  file(STRINGS ${LINK_REPORT} reports)
  foreach(report IN LISTS reports)
    string(REGEX MATCH "^([a-z_]+): (.*)$" _ "${report}")
    set(library ${CMAKE_MATCH_1})
    set(linked ${CMAKE_MATCH_2})
    foreach(item IN LISTS linked)
      if(NOT item IN_LIST links_${library})
        string(APPEND faults "  ${library} links ${item}\n")
      endif()
    endforeach()
  endforeach()
endif()

if(faults)
  message(FATAL_ERROR "Includes or links against the layering:\n${faults}")
endif()
