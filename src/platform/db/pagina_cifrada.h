#pragma once
// The images of an enciphered file's pages, read with its key, without the
// engine: whether an image was written with this key and is whole (each
// page ends in its vector and a checksum made with the key), and the marks
// in the header of the first page.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/db/marca.h"

typedef struct evp_md_st EVP_MD;

namespace gv::db {

class Cifra_Paginas {
public:
    // For a file whose key is derived from this password and the salt it
    // begins with; nothing when the engine's way of deriving keys is not
    // known here.
    static std::optional<Cifra_Paginas> de(const std::string& senha, const unsigned char* sal);
    // Whether this image of page `numero`, `pagina` bytes long, is whole and
    // was made with this key.
    bool confere(const unsigned char* imagem, int pagina, std::uint32_t numero) const;
    // The marks in the header of an image of the first page. They lie in
    // its first blocks, which read without the rest of the page, so a page
    // torn after its first sector still tells them; nothing when those
    // blocks do not read as a header under this key.
    std::optional<Marca> marcas(const unsigned char* imagem) const;

private:
    Cifra_Paginas() = default;
    std::string chave_, chave_soma_;
    const EVP_MD* hash_ = nullptr;
    int reserva_ = 0, soma_ = 0;
};

} // namespace gv::db
