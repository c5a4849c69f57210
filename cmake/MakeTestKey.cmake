# Makes, once per build tree, the ECDSA P-256 key pair a test build trusts, and the
# header that hands its public point to that build. Run with -DOPENSSL=<tool> -DDIR=<folder>.
# The private half stays in the build tree, where the end-to-end tests sign with it.
file(MAKE_DIRECTORY ${DIR})
if(NOT EXISTS ${DIR}/signer.pem)
  execute_process(COMMAND ${OPENSSL} genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256
    -out ${DIR}/signer.pem RESULT_VARIABLE made)
  if(NOT made EQUAL 0)
    message(FATAL_ERROR "openssl could not make the test key pair")
  endif()
endif()
execute_process(COMMAND ${OPENSSL} pkey -in ${DIR}/signer.pem -pubout -outform DER -out ${DIR}/public.der
  RESULT_VARIABLE exported)
file(READ ${DIR}/public.der der HEX)
string(LENGTH "${der}" hex_length)
if(NOT exported EQUAL 0 OR NOT hex_length EQUAL 182)
  message(FATAL_ERROR "the test key's public half is no P-256 key")
endif()
# The SubjectPublicKeyInfo ends with the uncompressed point: X and Y, 32 bytes each.
string(SUBSTRING "${der}" 54 128 point)
string(REGEX REPLACE "(..)" "0x\\1," bytes "${point}")
file(WRITE ${DIR}/test_key_point.h.new
  "// Made by cmake/MakeTestKey.cmake: the public point of signer.pem beside this file.\n"
  "#define QM_TEST_KEY_POINT {${bytes}}\n")
file(COPY_FILE ${DIR}/test_key_point.h.new ${DIR}/test_key_point.h ONLY_IF_DIFFERENT)
file(REMOVE ${DIR}/test_key_point.h.new)
