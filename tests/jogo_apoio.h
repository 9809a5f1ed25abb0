#pragma once
// A program folder holding a copy of the master database, and a new game
// made through the scripted port, for tests that need a real league.

#include <map>

#include "apoio.h"
#include "startup/jogo.h"

namespace gv::teste {

class Com_Mestra : public Pasta_Temporaria {
protected:
    void SetUp() override {
        Pasta_Temporaria::SetUp();
        std::filesystem::copy_file(GV_BASE_MESTRA, caminho(NOME_BASE_MESTRA));
    }

    Escolhas_Novo_Jogo escolhas(const std::string& pais = "pt", const std::string& clube = {}) {
        Escolhas_Novo_Jogo e;
        e.nome = "Manuel Tester";
        e.pais = pais;
        // The set's first club, read from the master database once per process.
        static std::map<std::string, std::string> primeiros;
        if (clube.empty() && !primeiros.count(pais)) primeiros[pais] = Ler_Clubes_Pais(pais)[0].front();
        e.clube = clube.empty() ? primeiros[pais] : clube;
        e.dinheiro = "2,000,000";
        e.jogo_real = true;
        return e;
    }

    // A new game in `ficheiro`, answered by the scripted port.
    Resultado_Jogo novo_jogo(const std::string& ficheiro, const Escolhas_Novo_Jogo& e) {
        porta.escolher(Ficheiro_Escolhido{caminho(ficheiro), ficheiro});
        return Novo_Jogo(e);
    }
    // The game a new game of the Portuguese set makes in "jogo.gv" right
    // after the test's seeding: made once for the test binary and copied,
    // the random source brought to where the making left it.
    void novo_jogo_pt(const std::string& clube = {}) {
        const auto e = escolhas("pt", clube);
        const std::string nome = "novo_pt_" + std::to_string(std::hash<std::string>{}(e.clube)) + ".gv";
        const auto m = modelo(nome, [&](const std::filesystem::path& destino) {
            semear_aleatorio(12345);
            ASSERT_EQ(novo_jogo("jogo.gv", e), Resultado_Jogo::Aberto);
            std::ofstream(destino.string() + ".nota") << sorteios_feitos();
            Base_Dados->Close();
            std::filesystem::copy_file(caminho("jogo.gv"), destino);
        });
        Base_Dados.reset();
        std::filesystem::copy_file(m, caminho("jogo.gv"), std::filesystem::copy_options::overwrite_existing);
        Base_Dados = db::Database::abrir(caminho("jogo.gv"), Ligacao_BD);
        Ficheiro_Jogo = caminho("jogo.gv");
        Estado_Novo_Jogo(e);
        semear_aleatorio(12345);
        saltar_sorteios(std::stoull(ler_bytes(m.string() + ".nota")));
    }
    int contar(const std::string& sql, const db::Parametros& p = {}) { return Base_Dados->valor(sql, p).int32(); }
};

} // namespace gv::teste
