# Installed layout.  The program finds its companions beside its own
# executable, so they stay together in one program folder:
#   <folder>/korvald-emmc, <folder>/korvald-emmc-cli, <folder>/adb/kz_daemon,
#   <folder>/skin/, <folder>/Language_*.ini
# A prefix of the program's own (the default /opt/korvald-emmc, a scratch
# folder) is the program folder itself; a prefix other programs share (/usr,
# /usr/local; the Debian package installs into /usr) gets the program folder
# lib/korvald-emmc.  The prefix is known only at install time ("cmake
# --install --prefix" may differ from the configured one), so the folder is
# chosen then, and the destinations below name it as the install-time
# variable KZ_PROGRAM_DIR (escaped, so it is read when the rules run).
# Beside the program folder:
#   <prefix>/bin/korvald-emmc, <prefix>/bin/korvald-emmc-cli   relative links
#   <data>/man/man1/korvald-emmc.1.gz, korvald-emmc-cli.1.gz
#   <data>/applications/korvald-emmc.desktop, <data>/metainfo/<id>.metainfo.xml
#   <data>/icons/hicolor/{scalable,16x16,...,256x256}/apps/korvald-emmc.*
#   <data>/doc/korvald-emmc/copyright, changelog.gz
#   /usr/lib/udev/rules.d/60-korvald-emmc.rules   only with the prefix /usr
#                                                 (udev reads no other prefix)
# KZ_INSTALL_DATA_DIR defaults to <prefix>/share; point it at /usr/share or
# /usr/local/share to make desktops list the program when the prefix is
# under /opt.

set(KZ_INSTALL_DATA_DIR share CACHE PATH
    "Folder for the desktop entry, icons, manual pages and documents (relative paths are under the prefix)")

# Programs of the program folder that get a link in <prefix>/bin, and the
# helpers that live there without one.  A new program joins a list.
set(KZ_INSTALL_PROGRAMS korvald-emmc korvald-emmc-cli)
set(KZ_INSTALL_HELPERS FTPClient)

set(KZ_DESKTOP_COMPONENT korvald-desktop)
set(KZ_PROGRAM_DIR_REF "\${KZ_PROGRAM_DIR}")

install(CODE [[
  if(CMAKE_INSTALL_PREFIX MATCHES "^/usr(/local)?/*$")
    set(KZ_PROGRAM_DIR lib/korvald-emmc)
  else()
    set(KZ_PROGRAM_DIR .)
  endif()
  # The program folder's path, ending in '/'.
  set(KZ_PROGRAM_ROOT "${CMAKE_INSTALL_PREFIX}/${KZ_PROGRAM_DIR}/")
  cmake_path(NORMAL_PATH KZ_PROGRAM_ROOT)
]] ALL_COMPONENTS)

# kz_installed: everything installed that the build makes (scripts/package
# builds it rather than the whole tree).
add_custom_target(kz_installed)
add_dependencies(kz_installed kz_daemon kz_skin)
foreach(program ${KZ_INSTALL_PROGRAMS} ${KZ_INSTALL_HELPERS})
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${KZ_PROGRAM_DIR_REF})
    add_dependencies(kz_installed ${program})
  endif()
endforeach()
install(TARGETS kz_daemon RUNTIME DESTINATION ${KZ_PROGRAM_DIR_REF}/adb)
file(GLOB kz_languages ${CMAKE_SOURCE_DIR}/skin/Language_*.ini)
install(FILES ${kz_languages} DESTINATION ${KZ_PROGRAM_DIR_REF})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/skin/ DESTINATION ${KZ_PROGRAM_DIR_REF}/skin
        PATTERN CMakeLists.txt EXCLUDE PATTERN "Language_*.ini" EXCLUDE)

# The links are relative so that a staged install (DESTDIR, the package)
# stays correct.
foreach(program ${KZ_INSTALL_PROGRAMS})
  if(TARGET ${program})
    install(CODE "set(kz_name ${program})" COMPONENT ${KZ_DESKTOP_COMPONENT})
    install(CODE [[
      set(kz_bin "${CMAKE_INSTALL_PREFIX}/bin")
      file(RELATIVE_PATH kz_target "${kz_bin}" "${KZ_PROGRAM_ROOT}${kz_name}")
      file(MAKE_DIRECTORY "$ENV{DESTDIR}${kz_bin}")
      file(REMOVE "$ENV{DESTDIR}${kz_bin}/${kz_name}")
      file(CREATE_LINK "${kz_target}" "$ENV{DESTDIR}${kz_bin}/${kz_name}" SYMBOLIC)
      message(STATUS "Installing: $ENV{DESTDIR}${kz_bin}/${kz_name} -> ${kz_target}")
    ]] COMPONENT ${KZ_DESKTOP_COMPONENT})
  endif()
endforeach()

# The desktop entry is written at install time: Exec must name the program
# under the prefix actually used.
install(CODE "set(KZ_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/packaging/korvald-emmc.desktop.in\")
              set(KZ_INSTALL_DATA_DIR \"${KZ_INSTALL_DATA_DIR}\")"
        COMPONENT ${KZ_DESKTOP_COMPONENT})
install(CODE [[
  set(kz_program "${KZ_PROGRAM_ROOT}korvald-emmc")
  # Inside a quoted Exec argument '"', '`', '$' and '\' take a backslash,
  # itself doubled by the file's string escaping; '%' is doubled so it is
  # not read as a field code.
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\\\\\1" kz_exec "${kz_program}")
  string(REPLACE "%" "%%" kz_exec "${kz_exec}")
  set(KZ_DESKTOP_EXEC "\"${kz_exec}\"")
  set(KZ_DESKTOP_TRYEXEC "${kz_program}")
  set(kz_data "${KZ_INSTALL_DATA_DIR}")
  if(NOT IS_ABSOLUTE "${kz_data}")
    set(kz_data "${CMAKE_INSTALL_PREFIX}/${kz_data}")
  endif()
  set(kz_entry "$ENV{DESTDIR}${kz_data}/applications/korvald-emmc.desktop")
  configure_file("${KZ_DESKTOP_TEMPLATE}" "${kz_entry}" @ONLY)
  message(STATUS "Installing: ${kz_entry}")
]] COMPONENT ${KZ_DESKTOP_COMPONENT})

include(${CMAKE_CURRENT_LIST_DIR}/PackagingFiles.cmake)
add_dependencies(kz_installed kz_packaging_files)

set(kz_icons ${KZ_INSTALL_DATA_DIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/korvald-emmc.svg
        DESTINATION ${kz_icons}/scalable/apps COMPONENT ${KZ_DESKTOP_COMPONENT})
install(FILES ${CMAKE_SOURCE_DIR}/skin/korvald-emmc.png
        DESTINATION ${kz_icons}/256x256/apps COMPONENT ${KZ_DESKTOP_COMPONENT})
install(FILES ${CMAKE_SOURCE_DIR}/skin/korvald-emmc-48.png
        DESTINATION ${kz_icons}/48x48/apps RENAME korvald-emmc.png COMPONENT ${KZ_DESKTOP_COMPONENT})
foreach(size 16 32 64 128)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/korvald-emmc-${size}.png
          DESTINATION ${kz_icons}/${size}x${size}/apps RENAME korvald-emmc.png COMPONENT ${KZ_DESKTOP_COMPONENT})
endforeach()

install(FILES ${KZ_MAN_PAGES} DESTINATION ${KZ_INSTALL_DATA_DIR}/man/man1)
install(FILES ${KZ_METAINFO_FILE} DESTINATION ${KZ_INSTALL_DATA_DIR}/metainfo COMPONENT ${KZ_DESKTOP_COMPONENT})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright ${KZ_CHANGELOG_FILE}
        DESTINATION ${KZ_INSTALL_DATA_DIR}/doc/korvald-emmc)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/lintian-overrides
        DESTINATION ${KZ_INSTALL_DATA_DIR}/lintian/overrides RENAME korvald-emmc)

install(CODE "set(KZ_UDEV_RULE \"${CMAKE_SOURCE_DIR}/packaging/udev/60-korvald-emmc.rules\")")
install(CODE [[
  if(CMAKE_INSTALL_PREFIX MATCHES "^/usr/*$")
    file(INSTALL "${KZ_UDEV_RULE}" DESTINATION "${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d")
  endif()
]])
include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
