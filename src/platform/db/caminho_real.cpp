#include "platform/db/caminho_real.h"

#include "platform/db/erro_bd.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace gv::db {

namespace {

// Named whole: the circle may be anywhere along it.
[[noreturn]] void em_circulo(const std::string& caminho) {
    Erro_BD e(ERRO_FICHEIRO, "Ligações em círculo: " + caminho, Erro_BD::Tipo::Ligacoes_Em_Circulo, caminho);
    e.nomear_com_pasta();
    throw e;
}

} // namespace

std::string caminho_real(const std::string& caminho) {
    std::error_code ec;
    fs::path c = fs::absolute(caminho, ec);
    if (ec) return caminho;
    // As many links as the system follows before it gives up.
    for (int saltos = 0; saltos <= 40; ++saltos) {
        const fs::path nome = c.filename();
        if (nome.empty() || nome == "." || nome == "..") {
            const fs::path p = fs::weakly_canonical(c, ec);
            return ec ? c.lexically_normal().string() : p.string();
        }
        // The folder as the system reaches it.
        fs::path pasta = fs::canonical(c.parent_path(), ec);
        if (ec == std::errc::too_many_symbolic_link_levels) em_circulo(caminho);
        if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) {
            const std::string falta = c.parent_path().lexically_normal().string();
            throw Erro_BD(ERRO_FICHEIRO, "A pasta não existe: " + falta, Erro_BD::Tipo::Sem_Pasta, falta);
        }
        if (ec) return c.lexically_normal().string();
        const fs::path f = pasta / nome;
        if (!fs::is_symlink(f, ec)) return f.string();
        const fs::path alvo = fs::read_symlink(f, ec);
        if (ec) return f.string();
        c = alvo.is_absolute() ? alvo : pasta / alvo;
    }
    em_circulo(caminho);
}

} // namespace gv::db
