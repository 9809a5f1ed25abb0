#pragma once
// A program folder holding a copy of the master database, and a new game
// made through the scripted port, for tests that need a real league.

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
        e.clube = clube.empty() ? Ler_Clubes_Pais(pais)[0].front() : clube;
        e.dinheiro = "2,000,000";
        e.jogo_real = true;
        return e;
    }

    // A new game in `ficheiro`, answered by the scripted port.
    Resultado_Jogo novo_jogo(const std::string& ficheiro, const Escolhas_Novo_Jogo& e) {
        porta.escolher(Ficheiro_Escolhido{caminho(ficheiro), ficheiro});
        return Novo_Jogo(e);
    }
    void novo_jogo_pt(const std::string& clube = {}) {
        ASSERT_EQ(novo_jogo("jogo.gv", escolhas("pt", clube)), Resultado_Jogo::Aberto);
    }
    int contar(const std::string& sql, const db::Parametros& p = {}) { return Base_Dados->valor(sql, p).int32(); }
};

} // namespace gv::teste
