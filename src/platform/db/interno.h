#pragma once
// Shared between the sources of the database layer; not for callers.
#include "platform/db/database.h"

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

namespace gv::db {
Valor ler_coluna(sqlite3_stmt* st, int i);
void ligar_valores(sqlite3_stmt* st, const Parametros& p, Database& d);
// A failure nobody is waiting for (a checkpoint, a mode, a close) goes to
// the error log, as the game's own failures do.
void registar(int rc, const std::string& o_que, sqlite3* db);
// Sets a setting back as it was when the scope ends, however it ends.
struct Repor_Pragma {
    sqlite3* db;
    std::string sql;   // empty: nothing to set back
    ~Repor_Pragma();
};
// Asks the engine for a journal mode ("wal", "delete"): the mode it is in
// afterwards, or throws its failure.
std::string modo_diario(Database& d, const char* modo);

// The files' own byte formats.
inline std::uint32_t grande(const unsigned char* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}
inline bool pagina_possivel(std::uint32_t p) { return p >= 512 && p <= 65536 && (p & (p - 1)) == 0; }
// Up to n bytes of the file at `onde`; how many were there.
std::size_t ler_em(int fd, void* destino, std::size_t n, off_t onde);
// The file open at `de` copied whole into the one open at `para`; or the
// side that fell short, with errno.
enum class Copiado { Inteiro, Leitura_Falhou, Escrita_Falhou };
Copiado copiar_inteiro(int de, int para);
} // namespace gv::db
