#pragma once
// Shared test fixtures: a private temporary program folder, the game's
// connect string, a scripted user-interface port and a fresh database.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "data/esquema.h"
#include "data/estado.h"
#include "platform/aleatorio.h"
#include "platform/interface_utilizador.h"

namespace gv::teste {

inline std::string ler_bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Pasta_Temporaria : public ::testing::Test {
protected:
    void SetUp() override {
        auto base = std::filesystem::temp_directory_path() / "gv_testes";
        std::filesystem::create_directories(base);
        std::string modelo = (base / "XXXXXX").string();
        pasta = mkdtemp(modelo.data());
        repor_estado();
        Pasta_Programa = pasta.string();
        Ligacao_BD = LIGACAO_JOGO;
        semear_aleatorio(12345);
        instalada_ = std::make_unique<Ui_Instalada>(porta);
    }
    void TearDown() override {
        repor_estado();
        instalada_.reset();
        std::error_code ec;
        std::filesystem::remove_all(pasta, ec);
    }
    std::string caminho(const std::string& nome) const { return (pasta / nome).string(); }

    // A new empty game database (every game, fixed and template table).
    std::unique_ptr<db::Database> nova_base(const std::string& nome) {
        auto d = db::Database::criar(caminho(nome), Ligacao_BD);
        criar_esquema(*d);
        return d;
    }

    std::filesystem::path pasta;
    Interface_Guionizada porta;

private:
    std::unique_ptr<Ui_Instalada> instalada_;
};

} // namespace gv::teste
