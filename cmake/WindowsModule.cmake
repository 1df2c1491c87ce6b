# The module as the host loads it on 32-bit Windows, and the stand-ins as Windows DLLs with the
# vendor's names, ordinals and calling conventions. Included by src/CMakeLists.txt for WIN32.

# Import libraries of the DLLs the module uses, from our own module definition files: the host
# runtime by name (cdecl), the PLC library by ordinal only (stdcall, NONAME).
set(ZELMPI_IMPORT_DIR ${CMAKE_BINARY_DIR}/imports)
set(ZELMPI_IMPORT_LIBRARIES "")
foreach(library huxpro w95_s7 komfort)
  set(def ${PROJECT_SOURCE_DIR}/cmake/windows/${library}.def)
  set(archive ${ZELMPI_IMPORT_DIR}/lib${library}_imports.a)
  add_custom_command(OUTPUT ${archive}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELMPI_IMPORT_DIR}
    COMMAND ${CMAKE_DLLTOOL} -d ${def} -l ${archive}
    DEPENDS ${def} VERBATIM
    COMMENT "Import library of ${library} from ${library}.def")
  list(APPEND ZELMPI_IMPORT_LIBRARIES ${archive})
endforeach()
add_custom_target(zelmpi_import_libraries DEPENDS ${ZELMPI_IMPORT_LIBRARIES})

# zelmpi.dll exports exactly "ZelMain" (the .def maps it to the stdcall ZelMain@4); the C and
# C++ runtimes of the compiler are linked in, so only Windows system DLLs remain to be found.
target_sources(zelmpi PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/entry/zelmpi.def)
add_dependencies(zelmpi zelmpi_import_libraries)
target_link_libraries(zelmpi PRIVATE ${ZELMPI_IMPORT_LIBRARIES})
target_link_options(zelmpi PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(zelmpi PROPERTIES PREFIX "" OUTPUT_NAME zelmpi
  LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/entry/zelmpi.def)
# The linker's import library would offer the undecorated ZelMain, which a stdcall caller
# (ZelMain@4) does not find: our programs that link the module get this one instead.
add_custom_command(TARGET zelmpi POST_BUILD
  COMMAND ${CMAKE_DLLTOOL} -k -d ${PROJECT_SOURCE_DIR}/cmake/windows/zelmpi_callers.def
          -l $<TARGET_LINKER_FILE:zelmpi>
  VERBATIM)

# The stand-ins under the vendor's file names.
set_target_properties(huxpro PROPERTIES PREFIX "" OUTPUT_NAME HUXPRO)
target_link_options(huxpro PRIVATE -static -static-libgcc -static-libstdc++)
foreach(library w95_s7 komfort)
  get_target_property(library_dir ${library} SOURCE_DIR)
  set(def ${library_dir}/${library}/${library}.def)
  target_sources(${library} PRIVATE ${def})
  set_target_properties(${library} PROPERTIES PREFIX "" OUTPUT_NAME ${library} LINK_DEPENDS ${def})
  target_link_options(${library} PRIVATE -static -static-libgcc -static-libstdc++)
endforeach()

# The driver code for the unit tests, compiled once more: windows.h declares the kernel calls as
# dllimport, so a test program cannot define them itself. Here they are renamed ZelFake<call>;
# the fake kernel (tests/fakes/fake_kernel.cpp) defines them and their import slots, while
# GoogleTest and the C++ runtime in the same program keep the real kernel32.
set(ZELMPI_FAKED_KERNEL_CALLS Sleep _beginthread _endthread CreateFileA CloseHandle GetCommState
    SetCommState GetCommTimeouts SetCommTimeouts SetupComm ClearCommError ReadFile WriteFile
    SetCommBreak ClearCommBreak)
set_property(TARGET zelmpi_core PROPERTY SOURCES ${ZELMPI_SOURCES})
foreach(call IN LISTS ZELMPI_FAKED_KERNEL_CALLS)
  target_compile_definitions(zelmpi_core PRIVATE ${call}=ZelFake${call})
endforeach()
target_link_libraries(zelmpi_core PRIVATE zelmpi_warnings)

# The release archive for integrators (cpack -G ZIP in the build folder): zelmpi.dll at the
# top, the simulator (stand-in DLLs, zelhost.exe, example configuration, tags and plant) in
# simulator/. The stand-ins are for trying the module only, never for a real plant.
install(FILES $<TARGET_FILE:zelmpi> ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT module)
install(FILES $<TARGET_FILE:huxpro> $<TARGET_FILE:w95_s7> $<TARGET_FILE:komfort>
  DESTINATION simulator COMPONENT module)
install(PROGRAMS $<TARGET_FILE:zelhost> DESTINATION simulator COMPONENT module)
file(GLOB ZELMPI_EXAMPLE_TAGS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.tags)
install(FILES ${PROJECT_SOURCE_DIR}/examples/ravUDE01.int ${PROJECT_SOURCE_DIR}/examples/demo_plant.sim
  ${ZELMPI_EXAMPLE_TAGS} DESTINATION simulator COMPONENT module)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME zelmpi)
set(CPACK_PACKAGE_VENDOR "zelmpi developers")
set(CPACK_PACKAGE_FILE_NAME zelmpi-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# Only the archive's own layout (component "module"), not the project's other install rules.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};module;/")
include(CPack)
