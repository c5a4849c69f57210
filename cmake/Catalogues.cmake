# The catalogues of po/: each is checked by msgfmt (a broken entry fails the build with its
# file and line) and all are compiled into quillmere_base.
find_program(QM_MSGFMT msgfmt REQUIRED)
file(GLOB qm_po_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*.po)
list(SORT qm_po_files)
set(qm_po_stamps)
foreach(po IN LISTS qm_po_files)
  get_filename_component(code ${po} NAME_WE)
  set(stamp ${CMAKE_BINARY_DIR}/po/${code}.checked)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DMSGFMT=${QM_MSGFMT} -DPO=${po} -P ${CMAKE_SOURCE_DIR}/cmake/CheckCatalogue.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${po} ${CMAKE_SOURCE_DIR}/cmake/CheckCatalogue.cmake COMMENT "Checking po/${code}.po" VERBATIM)
  list(APPEND qm_po_stamps ${stamp})
endforeach()
set(QM_LANGUAGES_SOURCE ${CMAKE_BINARY_DIR}/generated/built_in_languages.cpp)
# The template is compiled into the tests only (QM_TEMPLATE_SOURCE).
set(QM_TEMPLATE_SOURCE ${CMAKE_BINARY_DIR}/generated/built_in_template.cpp)
set(qm_pot ${CMAKE_SOURCE_DIR}/po/quillmere.pot)
add_custom_command(OUTPUT ${QM_LANGUAGES_SOURCE} ${QM_TEMPLATE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DOUT=${QM_LANGUAGES_SOURCE} "-DPO_FILES=${qm_po_files}"
    -DTEMPLATE=${qm_pot} -DTEMPLATE_OUT=${QM_TEMPLATE_SOURCE}
    -P ${CMAKE_SOURCE_DIR}/cmake/EmbedCatalogues.cmake
  DEPENDS ${qm_po_files} ${qm_po_stamps} ${qm_pot} ${CMAKE_SOURCE_DIR}/cmake/EmbedCatalogues.cmake
  COMMENT "Compiling the catalogues in" VERBATIM)

# A broken entry stops the build with its file and line: the check on broken samples.
foreach(broken placeholder encoding accelerator)
  add_test(NAME catalogue_refuses_broken_${broken}
    COMMAND ${CMAKE_COMMAND} -DMSGFMT=${QM_MSGFMT} -DPO=${CMAKE_SOURCE_DIR}/tests/data/po/broken_${broken}.po
      -P ${CMAKE_SOURCE_DIR}/cmake/CheckCatalogue.cmake)
  set_tests_properties(catalogue_refuses_broken_${broken} PROPERTIES LABELS lint
    PASS_REGULAR_EXPRESSION "catalogue refused[^@]*broken_${broken}\\.po:[0-9]+:")
endforeach()
