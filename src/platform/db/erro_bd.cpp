// The layer's failures: their kinds, from the engine's result codes and the
// system's errors, and the error log for those nobody waits for.

#include "platform/db/database.h"
#include "platform/db/interno.h"

#include <sqlite3.h>

#include <cstdio>

namespace gv::db {

Erro_BD::Erro_BD(int numero, std::string descricao, Tipo tipo, std::string ficheiro, Tipo causa)
    : Falha_BD(descricao), numero_(numero), descricao_(std::move(descricao)), tipo_(tipo),
      ficheiro_(std::move(ficheiro)), causa_(causa) {}

Erro_BD ficheiro_movido(const std::string& caminho) {
    return Erro_BD(ERRO_FICHEIRO, "O ficheiro do jogo mudou de nome ou foi substituído: " + caminho,
                   Erro_BD::Tipo::Ficheiro_Movido, caminho);
}

Erro_BD::Tipo tipo_do_codigo(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_NOTADB: return Erro_BD::Tipo::Nao_E_Base;
    case SQLITE_CORRUPT: return Erro_BD::Tipo::Danificada;
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Erro_BD::Tipo::Bloqueada;
    case SQLITE_READONLY: return Erro_BD::Tipo::So_Leitura;
    // An existing file the engine cannot open (its journal cannot be made
    // beside it, say): the access is refused.
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH: return Erro_BD::Tipo::Sem_Permissao;
    case SQLITE_FULL: return Erro_BD::Tipo::Disco_Cheio;
    case SQLITE_IOERR: return Erro_BD::Tipo::Erro_ES;
    default: return Erro_BD::Tipo::Geral;
    }
}

Erro_BD::Tipo tipo_do_sistema(const std::error_code& ec) {
    if (ec == std::errc::no_space_on_device || ec == std::errc::file_too_large) return Erro_BD::Tipo::Disco_Cheio;
    if (ec == std::errc::read_only_file_system) return Erro_BD::Tipo::So_Leitura;
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return Erro_BD::Tipo::Sem_Permissao;
    if (ec == std::errc::io_error) return Erro_BD::Tipo::Erro_ES;
    if (ec == std::errc::no_such_file_or_directory) return Erro_BD::Tipo::Sem_Ficheiro;
    if (ec == std::errc::device_or_resource_busy || ec == std::errc::text_file_busy) return Erro_BD::Tipo::Bloqueada;
    return Erro_BD::Tipo::Geral;
}

void registar(int rc, const std::string& o_que, sqlite3* db) {
    std::fprintf(stderr, "golvantario: erro %d: %s (%s)\n", db ? sqlite3_extended_errcode(db) : rc,
                 db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), o_que.c_str());
}

} // namespace gv::db
