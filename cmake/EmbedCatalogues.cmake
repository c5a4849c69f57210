# Writes the C++ source that compiles the checked catalogues into the program: one
# BuiltInLanguage per po/<code>.po, named by its "X-Native-Name" header.
# Run with: cmake -DOUT=<file.cpp> "-DPO_FILES=<a.po;b.po>" -P EmbedCatalogues.cmake
set(body "")
foreach(po IN LISTS PO_FILES)
  get_filename_component(code ${po} NAME_WE)
  file(READ ${po} text)
  string(REGEX MATCH "\"X-Native-Name: ([^\\\\\"]+)" found "${text}")
  if(NOT found)
    message(FATAL_ERROR "${po}:1: the header names no X-Native-Name")
  endif()
  set(name "${CMAKE_MATCH_1}")
  if(text MATCHES "\\)qm_po\"")
    message(FATAL_ERROR "${po}: holds the text that ends the embedded string")
  endif()
  string(APPEND body "    {\"${code}\", \"${name}\", R\"qm_po(${text})qm_po\"},\n")
endforeach()
file(WRITE ${OUT}.new "// Generated from po/*.po by cmake/EmbedCatalogues.cmake; do not edit.
#include \"base/language.h\"

namespace qm {

const std::vector<BuiltInLanguage>& builtInLanguages() {
    static const std::vector<BuiltInLanguage> languages{
${body}    };
    return languages;
}

}  // namespace qm
")
file(COPY_FILE ${OUT}.new ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.new)

# The template too, for the tests that hold every catalogue against it.
if(TEMPLATE_OUT)
  file(READ ${TEMPLATE} text)
  file(WRITE ${TEMPLATE_OUT}.new "// Generated from po/quillmere.pot by cmake/EmbedCatalogues.cmake; do not edit.
namespace qm {
const char* builtInTemplate() {
    return R\"qm_po(${text})qm_po\";
}
}  // namespace qm
")
  file(COPY_FILE ${TEMPLATE_OUT}.new ${TEMPLATE_OUT} ONLY_IF_DIFFERENT)
  file(REMOVE ${TEMPLATE_OUT}.new)
endif()
