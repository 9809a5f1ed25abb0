#pragma once
// Named points where a test can make the next pass fail, to prove that a
// half-done operation leaves files and data as they were. Disarmed points
// cost one lookup in an empty set.

#include <stdexcept>
#include <string>

namespace gv {

struct Falha_Injectada : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws Falha_Injectada once when a test armed this point.
void ponto_de_falha(const char* nome);
void armar_falha(const std::string& nome);
void desarmar_falhas();

} // namespace gv
