# Installs the build into a scratch prefix (with a blank and a '%' in its
# name) and checks the layout the program and the desktop rely on.
#   cmake -DKZ_BUILD_DIR=<build> -DKZ_PREFIX=<scratch prefix> -P InstallLayoutTest.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
macro(fail message)
  list(APPEND failures "${message}")
endmacro()

file(REMOVE_RECURSE "${KZ_PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${KZ_BUILD_DIR}" --prefix "${KZ_PREFIX}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed:\n${output}")
endif()

foreach(file korvald-emmc adb/kz_daemon Language_EN.ini Language_CN.ini Language_CN_T.ini
             skin/skin_main.xml skin/mainmenu.xml skin/eMMC_info_cn.png skin/log_tips@2x.png
             skin/loading_16.png skin/korvald-emmc.png)
  if(NOT EXISTS "${KZ_PREFIX}/${file}" OR IS_DIRECTORY "${KZ_PREFIX}/${file}")
    fail("missing ${file}")
  endif()
endforeach()

set(link "${KZ_PREFIX}/bin/korvald-emmc")
if(NOT IS_SYMLINK "${link}")
  fail("bin/korvald-emmc is not a symlink")
else()
  file(READ_SYMLINK "${link}" target)
  if(NOT target STREQUAL "../korvald-emmc")
    fail("bin/korvald-emmc points at '${target}'")
  endif()
endif()

set(entry "${KZ_PREFIX}/share/applications/korvald-emmc.desktop")
if(EXISTS "${entry}")
  file(STRINGS "${entry}" lines)
  string(REPLACE "%" "%%" exec_path "${KZ_PREFIX}/korvald-emmc")
  foreach(wanted "[Desktop Entry]" "Type=Application" "Icon=korvald-emmc" "Exec=\"${exec_path}\""
                 "TryExec=${KZ_PREFIX}/korvald-emmc")
    list(FIND lines "${wanted}" at)
    if(at EQUAL -1)
      fail("desktop entry lacks '${wanted}'")
    endif()
  endforeach()
else()
  fail("missing desktop entry")
endif()

# A PNG holds its width and height as big-endian words at byte 16.
foreach(size 48 256)
  set(icon "${KZ_PREFIX}/share/icons/hicolor/${size}x${size}/apps/korvald-emmc.png")
  if(EXISTS "${icon}")
    file(READ "${icon}" header OFFSET 16 LIMIT 8 HEX)
    math(EXPR hex "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${hex}" 2 -1 hex)
    string(LENGTH "${hex}" digits)
    math(EXPR pad "8 - ${digits}")
    string(REPEAT "0" ${pad} zeros)
    string(TOLOWER "${zeros}${hex}${zeros}${hex}" wanted)
    if(NOT header STREQUAL wanted)
      fail("icon ${size}: size words ${header}, wanted ${wanted}")
    endif()
  else()
    fail("missing icon ${size}x${size}")
  endif()
endforeach()

file(REMOVE_RECURSE "${KZ_PREFIX}")
if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "install layout:\n  ${text}")
endif()
message(STATUS "install layout as expected")
