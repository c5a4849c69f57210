// Puts a certificate (DER file) into the machine's trusted root store, the way an
// administrator trusts a private CA; the Windows update test trusts its own CA so.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) return std::fprintf(stderr, "usage: add_root_cert <certificate.der>\n"), 2;
    std::ifstream in(argv[1], std::ios::binary);
    const std::string der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
    if (!store || der.empty()) return std::fprintf(stderr, "no root store or no certificate\n"), 1;
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                                        reinterpret_cast<const BYTE*>(der.data()),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    CertCloseStore(store, 0);
    return added ? 0 : (std::fprintf(stderr, "not added: %lu\n", GetLastError()), 1);
}
