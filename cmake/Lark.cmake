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

# Resource scripts include other scripts, headers and icons that the build does not scan:
# every script is rebuilt whenever any of them changes.
file(GLOB LARK_RESOURCE_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc
     ${CMAKE_SOURCE_DIR}/resources/*.h ${CMAKE_SOURCE_DIR}/resources/icons/*
     ${CMAKE_SOURCE_DIR}/framework/FrameIds.h)
function(lark_resource_depends)
  foreach(rc ${ARGN})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${LARK_RESOURCE_INPUTS}")
  endforeach()
endfunction()

# lark_test(<target> [UI] [LIBS ...] [LOCK <name>]): a GoogleTest program of every .cpp in the
# current folder, registered with CTest and run through Wine. Tests that share a LOCK never run
# at the same time (e.g. those that start the single-instance program). UI links the program's
# user-interface resources (dialogs, menus, strings, icons). A folder without sources makes none.
include(GoogleTest)
function(lark_test target)
  cmake_parse_arguments(L "UI" "LOCK" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  if(L_UI)
    list(APPEND srcs ${CMAKE_SOURCE_DIR}/resources/LarkspurUI.rc)
    lark_resource_depends(${CMAKE_SOURCE_DIR}/resources/LarkspurUI.rc)
  endif()
  set(props ENVIRONMENT "LANG=ja_JP.UTF-8")
  if(L_LOCK)
    list(APPEND props RESOURCE_LOCK ${L_LOCK})
  endif()
  add_executable(${target} ${srcs} ${CMAKE_SOURCE_DIR}/tests/support/manifest.rc)
  target_link_libraries(${target} PRIVATE -Wl,--start-group ${L_LIBS} -Wl,--end-group
                        lark_testsupport GTest::gmock GTest::gtest)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST
                       PROPERTIES ${props})
endfunction()

set(LARK_WIN32_LIBS comctl32 gdi32 user32 ole32 oleaut32 uuid shell32 shlwapi gdiplus
    msimg32 winmm comdlg32 mpr advapi32 version)

# lark_copy_audio_dlls(<target>): after every build of <target>, copies the audio engine DLL
# beside its program and the add-on decoder DLLs into its "plugin" folder.
set(LARK_AUDIO_ADDONS basswma bass_aac bass_alac bassflac bass_tta bass_ape)
function(lark_copy_audio_dlls target)
  add_dependencies(${target} lark_audio_dlls)
  set(addon_files)
  foreach(a ${LARK_AUDIO_ADDONS})
    list(APPEND addon_files $<TARGET_FILE:lark_addon_${a}>)
  endforeach()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${target}>/plugin
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:lark_audio_engine> $<TARGET_FILE_DIR:${target}>
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${addon_files} $<TARGET_FILE_DIR:${target}>/plugin
    VERBATIM)
endfunction()
