# nuv_library(<name> <folder> [LINKS libs...]): one shared library made of every
# .cpp in <folder> (and its subfolders), headers installed under include/nuv/<folder>.
# Headers are included by folder, e.g. #include "platform/NUV_Classes.h".
function(nuv_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;PRIVATE_LINKS" ${ARGN})
  set(links)
  foreach(lib ${ARG_LINKS})
    if(TARGET ${lib})
      list(APPEND links ${lib})
    endif()
  endforeach()
  add_library(${name} SHARED ${ARG_SOURCES})
  add_library(nuv::${name} ALIAS ${name})
  target_include_directories(${name} PUBLIC
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/nuv>)
  target_link_libraries(${name} PUBLIC ${links} PRIVATE ${ARG_PRIVATE_LINKS})
  set_target_properties(${name} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  install(TARGETS ${name} EXPORT nuvTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# Install the headers of a source folder, keeping the folder name.
function(nuv_install_headers folder)
  file(GLOB_RECURSE headers RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  foreach(h ${headers})
    get_filename_component(dir ${h} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/${h} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/nuv/${dir})
  endforeach()
endfunction()

# nuv_test(<name> LINKS libs...): one GoogleTest program of every .cpp in the
# calling folder, registered with CTest.
function(nuv_test name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  set(links)
  foreach(lib ${ARG_LINKS})
    if(TARGET ${lib})
      list(APPEND links ${lib})
    endif()
  endforeach()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${links} nuv_test_support GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "NUV_FIXTURES=${PROJECT_SOURCE_DIR}/tests/fixtures")
endfunction()
