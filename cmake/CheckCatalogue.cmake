# Checks one catalogue as the build does: msgfmt's own checks (placeholders of qt-format
# entries, accelerators, encoding, header). A fault stops the build with msgfmt's messages,
# which name the file and line. Run with: cmake -DMSGFMT=<msgfmt> -DPO=<file.po> -P CheckCatalogue.cmake
execute_process(COMMAND ${MSGFMT} --check --check-accelerators=& -o /dev/null ${PO}
  RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(failed)
  message(FATAL_ERROR "catalogue refused, not compiled in until it is mended:\n${out}")
endif()
