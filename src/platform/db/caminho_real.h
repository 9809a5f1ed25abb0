#pragma once
// The file a path really names.

#include <string>

namespace gv::db {

// The file `caminho` names, as the system reaches it: links followed (the
// file's own and its folders'), relative parts and ".." resolved. A link
// to nothing gives the path it points to, where a file of that name would
// be made. Throws Erro_BD: Ligacoes_Em_Circulo, naming `caminho`, for
// links that lead round in a circle; Sem_Pasta, naming the folder, when the
// folder the file would be in is not there.
std::string caminho_real(const std::string& caminho);

} // namespace gv::db
