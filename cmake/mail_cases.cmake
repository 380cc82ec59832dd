# Every folder under tests/cases/mail as one test of a tier: RUNNER plays the
# case and tools/mail_check_case compares its output with the folder's
# expected.txt. A folder that carries SKIP_MARKER ("wine-only" on the native
# tier, "native-only" on the Wine tier, with the reason inside) is left out.
# Sets OUT_VAR to the names of the tests made.
function(brellin_add_mail_cases PREFIX RUNNER SKIP_MARKER OUT_VAR)
  set(names)
  file(GLOB scenarios CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/cases/mail/*/scenario.txt)
  foreach(scenario IN LISTS scenarios)
    get_filename_component(folder ${scenario} DIRECTORY)
    get_filename_component(name ${folder} NAME)
    if(NOT EXISTS ${folder}/${SKIP_MARKER})
      add_test(NAME ${PREFIX}.${name} COMMAND ${PROJECT_SOURCE_DIR}/tools/mail_check_case ${RUNNER} ${folder})
      list(APPEND names ${PREFIX}.${name})
    endif()
  endforeach()
  set(${OUT_VAR} ${names} PARENT_SCOPE)
endfunction()
