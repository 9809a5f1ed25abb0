#pragma once
// The status line of the end-of-season screen. The season-end procedures
// say what they are updating; the screen, while loaded, shows it.

#include <functional>
#include <string>

namespace gv {

// The screen registers where the text goes (empty: nowhere).
void registar_andamento(std::function<void(const std::string&)> mostrar);
// "Actualizar: " or "Updating: " followed by the subject.
void Mostrar_Actualizar(const std::string& assunto_pt, const std::string& assunto_en);
inline void Mostrar_Actualizar(const std::string& assunto) { Mostrar_Actualizar(assunto, assunto); }

} // namespace gv
