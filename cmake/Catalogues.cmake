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
    COMMAND ${QM_MSGFMT} --check --check-accelerators=& -o /dev/null ${po}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${po} COMMENT "Checking po/${code}.po" VERBATIM)
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
