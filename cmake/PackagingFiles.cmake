# Files made for installing, in <build>/packaging/: the manual pages and the
# changelog compressed as Debian wants them (gzip -9n: no name or time stamp,
# so the same sources give the same bytes), and the AppStream metadata of
# this version.  Sets KZ_MAN_PAGES, KZ_CHANGELOG_FILE and KZ_METAINFO_FILE.

set(kz_out ${CMAKE_BINARY_DIR}/packaging)
set(kz_debian ${CMAKE_SOURCE_DIR}/packaging/debian)

# The changelog's newest entry names the version and the day of its release:
# "korvald-emmc (1.0.0) ..." and " -- Name <mail>  Thu, 10 Dec 2026 ...".
file(STRINGS ${kz_debian}/changelog kz_head REGEX "^korvald-emmc \\(" LIMIT_COUNT 1)
file(STRINGS ${kz_debian}/changelog kz_trailer REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^korvald-emmc \\(([^)]*)\\).*" "\\1" kz_changelog_version "${kz_head}")
if(NOT kz_changelog_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/debian/changelog starts with version '${kz_changelog_version}', "
                      "the project is ${PROJECT_VERSION}: add an entry for this version")
endif()
# Its date is as "date -R" writes it, with a two-digit day.
string(REGEX MATCH "([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9])" kz_date "${kz_trailer}")
set(kz_day ${CMAKE_MATCH_1})
set(kz_year ${CMAKE_MATCH_3})
set(kz_months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(kz_month_numbers 01 02 03 04 05 06 07 08 09 10 11 12)
list(FIND kz_months "${CMAKE_MATCH_2}" kz_month)
if(NOT kz_date OR kz_month EQUAL -1)
  message(FATAL_ERROR "packaging/debian/changelog: no date in '${kz_trailer}'")
endif()
list(GET kz_month_numbers ${kz_month} kz_month)
set(KZ_RELEASE_DATE "${kz_year}-${kz_month}-${kz_day}")

set(KZ_METAINFO_FILE ${kz_out}/example.korvald.emmc.metainfo.xml)
configure_file(${CMAKE_SOURCE_DIR}/packaging/example.korvald.emmc.metainfo.xml.in ${KZ_METAINFO_FILE} @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/man/korvald-emmc.1.in ${kz_out}/korvald-emmc.1 @ONLY)

# kz_gzip(<source> <output>): output is source compressed, remade when it changes.
function(kz_gzip source output)
  add_custom_command(OUTPUT ${output}
      COMMAND sh -c "gzip -9nc \"$0\" > \"$1\"" ${source} ${output}
      DEPENDS ${source}
      VERBATIM)
endfunction()

set(KZ_CHANGELOG_FILE ${kz_out}/changelog.gz)
kz_gzip(${kz_debian}/changelog ${KZ_CHANGELOG_FILE})
set(KZ_MAN_PAGES ${kz_out}/korvald-emmc.1.gz)
kz_gzip(${kz_out}/korvald-emmc.1 ${kz_out}/korvald-emmc.1.gz)
if(TARGET korvald-emmc-cli-man)
  list(APPEND KZ_MAN_PAGES ${kz_out}/korvald-emmc-cli.1.gz)
  kz_gzip(${KZ_CLI_MAN_PAGE} ${kz_out}/korvald-emmc-cli.1.gz)
endif()
add_custom_target(kz_packaging_files ALL DEPENDS ${KZ_MAN_PAGES} ${KZ_CHANGELOG_FILE})
if(TARGET korvald-emmc-cli-man)
  add_dependencies(kz_packaging_files korvald-emmc-cli-man)
endif()
