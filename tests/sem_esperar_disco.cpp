// Test processes end by a kill, or by the failing disk's own power cut,
// never by a real one: a sync that works need not wait for the disk. Every
// test binary has the failing disk's layer in front of the engine's own,
// unarmed.

#include "disco_avariado.h"

namespace {

[[maybe_unused]] const bool instalado = [] {
    gv::teste::Disco_Avariado::instalar();
    return true;
}();

} // namespace

// The features of the game folders' file system a test run takes away
// (GV_TESTES_SEM: anonimos, sem-substituir, ligacoes, esconde, trincos),
// as a file system without them lacks them.
#include "platform/db/capacidades.h"

#include <cstdlib>

namespace {

[[maybe_unused]] const bool retiradas = [] {
    const char* v = std::getenv("GV_TESTES_SEM");
    gv::db::retirar_capacidades(v ? gv::db::capacidades_de_nomes(v) : 0);
    return true;
}();

} // namespace
