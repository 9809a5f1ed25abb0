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
