# Installed layout, the same as the build tree's bin/ folder:
#   <prefix>/korvald-emmc, <prefix>/adb/kz_daemon, <prefix>/skin/,
#   <prefix>/Language_*.ini            (install rules of their own folders)
#   <prefix>/bin/korvald-emmc          symlink to the program, for PATH
#   <prefix>/korvald-emmc-cli, <prefix>/bin/korvald-emmc-cli (symlink)
#   <data>/man/man1/korvald-emmc-cli.1
#   <data>/applications/korvald-emmc.desktop
#   <data>/icons/hicolor/{48x48,256x256}/apps/korvald-emmc.png
# The program finds its companions beside its own executable, so they stay
# together in the prefix; only the launcher entries may live elsewhere.
# KZ_INSTALL_DATA_DIR defaults to <prefix>/share; point it at /usr/share or
# /usr/local/share to make desktops list the program when the prefix is
# under /opt.

set(KZ_INSTALL_DATA_DIR share CACHE PATH
    "Folder for the desktop entry and icons (relative paths are under the prefix)")

set(KZ_DESKTOP_COMPONENT korvald-desktop)

# The link is relative so that a staged install (DESTDIR) stays correct.
install(CODE [[
  set(kz_bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(MAKE_DIRECTORY "${kz_bin}")
  file(REMOVE "${kz_bin}/korvald-emmc")
  file(CREATE_LINK ../korvald-emmc "${kz_bin}/korvald-emmc" SYMBOLIC)
  message(STATUS "Installing: ${kz_bin}/korvald-emmc -> ../korvald-emmc")
]] COMPONENT ${KZ_DESKTOP_COMPONENT})

# The command-line tool finds adb/kz_daemon beside itself, like the program.
if(TARGET korvald-emmc-cli)
  install(CODE [[
    set(kz_bin "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
    file(MAKE_DIRECTORY "${kz_bin}")
    file(REMOVE "${kz_bin}/korvald-emmc-cli")
    file(CREATE_LINK ../korvald-emmc-cli "${kz_bin}/korvald-emmc-cli" SYMBOLIC)
    message(STATUS "Installing: ${kz_bin}/korvald-emmc-cli -> ../korvald-emmc-cli")
  ]])
  install(FILES ${KZ_CLI_MAN_PAGE} DESTINATION ${KZ_INSTALL_DATA_DIR}/man/man1)
endif()

# The desktop entry is written at install time: Exec must name the program
# under the prefix actually used ("cmake --install --prefix" may differ
# from the configured one).
install(CODE "set(KZ_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/packaging/korvald-emmc.desktop.in\")
              set(KZ_INSTALL_DATA_DIR \"${KZ_INSTALL_DATA_DIR}\")"
        COMPONENT ${KZ_DESKTOP_COMPONENT})
install(CODE [[
  set(kz_program "${CMAKE_INSTALL_PREFIX}/korvald-emmc")
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

install(FILES ${CMAKE_SOURCE_DIR}/skin/korvald-emmc.png
        DESTINATION ${KZ_INSTALL_DATA_DIR}/icons/hicolor/256x256/apps COMPONENT ${KZ_DESKTOP_COMPONENT})
install(FILES ${CMAKE_SOURCE_DIR}/skin/korvald-emmc-48.png
        DESTINATION ${KZ_INSTALL_DATA_DIR}/icons/hicolor/48x48/apps
        RENAME korvald-emmc.png COMPONENT ${KZ_DESKTOP_COMPONENT})
