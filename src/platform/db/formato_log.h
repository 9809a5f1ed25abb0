#pragma once
// The write-ahead log's bytes, read as the engine reads them, without it:
// its header, its frames and their running checksums, the commits it would
// play back, and what lies beyond a frame it cannot read.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/db/marca.h"

namespace gv::db {

class Cifra_Paginas;

// The log's geometry: a header, then frames, each a header and a page.
constexpr std::int64_t Cabecalho_Log = 32, Cabeca_Quadro = 24;
// Where the log's frames end after `quadros` of them, of pages of `pagina`
// bytes.
constexpr std::int64_t fim_dos_quadros(int quadros, int pagina) {
    return Cabecalho_Log + std::int64_t(quadros) * (Cabeca_Quadro + pagina);
}

// Whether the `n` bytes a file begins with are a log's: its magic, or
// nothing the engine reads (none, or a header wiped to zeros).
bool comeca_como_log(const unsigned char* h, std::size_t n);

// A commit the engine would play back, with the marks of the first page
// it writes (nothing when it writes none or the image does not read).
struct Commit_Lido {
    std::optional<Marca> marca;
};

// Frames of this log written after the first one the engine cannot read,
// with a commit among them.
struct Quebra_Log {
    bool dentro_de_commit = false;   // frames of a commit were read, not its last
    bool na_pagina_1 = false;        // the frame not read is of the first page
    int commits_depois = 0;          // commit frames from it on
    std::vector<Marca> marcas_depois; // marks of the first page's images from it on
};

struct Leitura_Log {
    bool vazio = true;        // nothing the engine reads: no bytes, or a wiped header
    bool cabecalho = false;   // a header the engine reads: magic, version, checksum
    int pagina = 0;
    std::vector<Commit_Lido> commits;
    std::optional<Quebra_Log> quebra;
    // Images the engine reads checked against the file's key (each first
    // page's, and the first frame's): made with it, or not.
    int imagens_nossas = 0, imagens_alheias = 0;
};

// The log open at `fd`, read a frame at a time. `cifra`: the file's key,
// for the images (none: left unchecked); its page size is where frames are
// looked for when the header is damaged.
Leitura_Log ler_log(int fd, const Cifra_Paginas* cifra, int pagina);

} // namespace gv::db
