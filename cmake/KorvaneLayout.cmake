# Where the programs find their modules and data: at fixed places relative to their own
# folder, never at an absolute path, so that an installed tree, an extracted package and
# the build tree all run from wherever they lie. The build tree is laid out like the
# installed one (bin/, lib/<multiarch>/korvane/, share/korvane/), so one relative path
# serves both.
#
#   KORVANE_MODULE_DIR           the modules' folder under the prefix (lib/<multiarch>/korvane)
#   KORVANE_DATA_DIR             the data files' folder under the prefix (share/korvane)
#   KORVANE_MODULE_DIR_FROM_BIN  the modules' folder seen from the executables' (../lib/...)
#   KORVANE_DATA_DIR_FROM_BIN    the data files' folder seen from the executables' (../share/korvane)
#   KORVANE_BUILD_MODULE_DIR     the modules' folder in the build tree
#   KORVANE_BUILD_DATA_DIR       the data files' folder in the build tree
foreach(_korvane_dir BINDIR LIBDIR DATADIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${_korvane_dir}}")
    message(FATAL_ERROR "CMAKE_INSTALL_${_korvane_dir} must be relative to the prefix: the "
                        "programs find their modules and data relative to themselves")
  endif()
endforeach()

set(KORVANE_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/korvane)
set(KORVANE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/korvane)
file(RELATIVE_PATH KORVANE_MODULE_DIR_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${KORVANE_MODULE_DIR})
file(RELATIVE_PATH KORVANE_DATA_DIR_FROM_BIN /${CMAKE_INSTALL_BINDIR} /${KORVANE_DATA_DIR})
set(KORVANE_BUILD_MODULE_DIR ${PROJECT_BINARY_DIR}/${KORVANE_MODULE_DIR})
set(KORVANE_BUILD_DATA_DIR ${PROJECT_BINARY_DIR}/${KORVANE_DATA_DIR})
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/${CMAKE_INSTALL_BINDIR})

# korvane_add_module(<name> SOURCES <files...> LIBS <targets...>)
# A module that the calculator loads with QLibrary on first use (see
# ui/main_window/module_loader.h): built into the build tree's module folder and installed
# into the installed one. Only its factory (Q_DECL_EXPORT) is exported: the static libraries
# linked into it stay private to it, which also keeps its load cheap.
function(korvane_add_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE LINKER:--exclude-libs,ALL)
  set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden
                        VISIBILITY_INLINES_HIDDEN ON
                        LIBRARY_OUTPUT_DIRECTORY ${KORVANE_BUILD_MODULE_DIR})
  install(TARGETS ${name} LIBRARY DESTINATION ${KORVANE_MODULE_DIR})
endfunction()
