#pragma once
// Named points where a test can make the next pass fail, or change the
// machine around it, to prove that a half-done operation leaves files and
// data as they were. Disarmed points
// cost one lookup in an empty set.

#include <functional>
#include <stdexcept>
#include <string>

namespace gv {

struct Falha_Injectada : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws Falha_Injectada once when a test armed this point, or ends the
// process at once (SIGKILL, as a power cut would) when a test armed a
// death there.
void ponto_de_falha(const char* nome);
void armar_falha(const std::string& nome);
// The next pass fails as the engine would with this result code (a full
// disk, an I/O error...): a db::Erro_BD of that code and its kind.
void armar_falha(const std::string& nome, int codigo_motor);
// The process dies on the vez-th pass through the point (1: the next one).
void armar_morte(const std::string& nome, int vez = 1);
// The next pass runs this (a test's change to the machine around the game).
void armar_accao(const std::string& nome, std::function<void()> accao);
void desarmar_falhas();

} // namespace gv
