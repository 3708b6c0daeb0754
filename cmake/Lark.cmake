# lark_library(<target> [DEPS ...]): a static library of every .cpp in the current folder.
function(lark_library target)
  cmake_parse_arguments(L "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_link_libraries(${target} PUBLIC ${L_DEPS})
  else()   # a folder whose sources are not written yet
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${L_DEPS})
  endif()
endfunction()

# lark_test(<target> [LIBS ...]): a GoogleTest program of every .cpp in the current folder,
# registered with CTest and run through Wine.
include(GoogleTest)
function(lark_test target)
  cmake_parse_arguments(L "" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${target} ${srcs} ${CMAKE_SOURCE_DIR}/tests/support/manifest.rc)
  target_link_libraries(${target} PRIVATE -Wl,--start-group ${L_LIBS} -Wl,--end-group
                        lark_testsupport GTest::gmock GTest::gtest)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "LANG=ja_JP.UTF-8")
endfunction()

set(LARK_WIN32_LIBS comctl32 gdi32 user32 ole32 oleaut32 uuid shell32 shlwapi gdiplus
    msimg32 winmm comdlg32 mpr advapi32 version)
