// The transfer list, the list of all players, a club's squad and the
// computer clubs' purchases.

#include "apoio_mercado.h"
#include "market/listas.h"
#include "platform/db/database.h"
#include "platform/falhas.h"

#include <sqlcipher/sqlite3.h>

namespace gv {
namespace {

class Listas : public teste::Mercado {};

TEST_F(Listas, TransferListHasThreeKindsInOrder) {
    const long long novo = jogador(outro, "df", 16, 70, 500000, "Menino");
    const long long cedido = jogador(outro, "df", 25, 70, 500000, "Cedido");
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1 WHERE rowid = ?", {cedido});
    for (int vez = 0; vez < 25; ++vez) {
        const auto lista = Jogadores_Venda();
        ASSERT_GE(lista.size(), 13u);
        ASSERT_LE(lista.size(), 40u);
        std::size_t i = 0;
        for (; i < lista.size() && !lista[i].sem_clube(); ++i) {
            const auto& j = lista[i];
            EXPECT_NE(j.clube, Clube_Treinador);
            EXPECT_NE(j.rowid, novo);
            EXPECT_NE(j.rowid, cedido);
            EXPECT_GT(j.idade, 16);
            EXPECT_EQ(j.preco, std::stol(coluna(j.rowid, "preco"))) << "sold at his value";
            EXPECT_GE(j.taxa, 0);
            EXPECT_LE(j.taxa, j.preco / 5 + 1);
        }
        EXPECT_GE(i, 5u);
        EXPECT_LE(i, 24u);
        std::size_t livres = 0, juniores = 0;
        for (; i < lista.size(); ++i) {
            const auto& j = lista[i];
            ASSERT_TRUE(j.sem_clube());
            EXPECT_EQ(j.rowid, 0);
            EXPECT_EQ(j.golos, -1);
            EXPECT_EQ(j.contrato, -1);
            EXPECT_EQ(j.taxa, -1);
            if (j.idade >= 20) {
                EXPECT_EQ(juniores, 0u) << "free players come before the juniors";
                ++livres;
                EXPECT_LE(j.idade, 31);
                EXPECT_GE(j.forca, 10);
                EXPECT_LE(j.forca, 89);
            } else {
                ++juniores;
                EXPECT_GE(j.idade, 13);
                EXPECT_LE(j.idade, 15);
                EXPECT_GE(j.forca, 10);
                EXPECT_LE(j.forca, 29);
                EXPECT_GE(j.preco, 10000);
                EXPECT_LE(j.preco, 38999);
            }
        }
        EXPECT_GE(livres, 6u);
        EXPECT_LE(livres, 10u);
        EXPECT_GE(juniores, 2u);
        EXPECT_LE(juniores, 6u);
    }
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = '-'"), 0) << "drawing writes nothing";
}

TEST_F(Listas, AllPlayersListFiltersByDivisionPositionAndAgeBand) {
    const std::string d1 = Base_Dados->valor("SELECT clube FROM clubes WHERE div = 1 AND clube <> ? LIMIT 1",
                                             {Clube_Treinador}).texto();
    Base_Dados->Execute("DELETE FROM jogadores WHERE pos = 'gk'");
    const long long a = jogador(d1, "gk", 20, 50, 100000, "Bruno");
    const long long b = jogador(d1, "gk", 21, 50, 100000, "Abel");
    const long long c = jogador(d1, "gk", 25, 50, 100000, "Carlos");
    const long long d = jogador(d1, "gk", 30, 50, 100000, "Dinis");
    const long long e = jogador(d1, "gk", 31, 50, 100000, "Eça");
    jogador(d1, "gk", 18, 50, 100000, "Emprestado");
    Base_Dados->Execute("UPDATE jogadores SET emprestado = 1 WHERE nome = 'Emprestado'");
    jogador(Clube_Treinador, "gk", 18, 50, 100000, "Meu");
    jogador("Sem Liga FC", "gk", 18, 50, 100000, "Fora da liga");

    auto ids = [](const std::vector<Jogador_Listado>& l) {
        std::vector<long long> r;
        for (auto& j : l) r.push_back(j.rowid);
        return r;
    };
    EXPECT_EQ(ids(Jogadores_Lista(1, "gk", 0)), std::vector<long long>{a});
    EXPECT_EQ(ids(Jogadores_Lista(1, "gk", 1)), (std::vector<long long>{b, c})) << "by name";
    EXPECT_EQ(ids(Jogadores_Lista(1, "gk", 2)), std::vector<long long>{d});
    EXPECT_EQ(ids(Jogadores_Lista(1, "gk", 3)), std::vector<long long>{e});
    EXPECT_TRUE(Jogadores_Lista(2, "gk", 1).empty());
    for (int vez = 0; vez < 20; ++vez)
        for (const auto& j : Jogadores_Lista(1, "gk", 1)) {
            EXPECT_EQ(j.preco, 200000);
            EXPECT_GE(j.taxa, 0);
            EXPECT_LE(j.taxa, 60000);
        }
}

TEST_F(Listas, SquadIsByLineStrongestFirst) {
    Base_Dados->Execute("DELETE FROM jogadores WHERE equipa = ?", {outro});
    jogador(outro, "av", 25, 80, 0, "A1");
    jogador(outro, "gk", 25, 40, 0, "G1");
    jogador(outro, "df", 25, 60, 0, "D1");
    jogador(outro, "gk", 25, 70, 0, "G2");
    std::vector<std::string> nomes;
    for (auto& j : Plantel_Clube(outro)) nomes.push_back(j.nome);
    EXPECT_EQ(nomes, (std::vector<std::string>{"G2", "G1", "D1", "A1"}));
    EXPECT_TRUE(Plantel_Clube("Ninguém").empty());
}

TEST_F(Listas, ComputerClubsBuyButNeverJuniorsNorStaleRows) {
    std::vector<Jogador_Listado> linhas;
    for (int i = 0; i < 40; ++i) {
        Jogador_Listado livre;
        livre.pos = "md";
        livre.nome = "Livre " + std::to_string(i);
        livre.clube = "-";
        livre.idade = i % 2 ? 16 : 22;
        livre.forca = 50;
        livre.preco = 123456;
        linhas.push_back(livre);
    }
    // A listed player the manager bought on the other list meanwhile.
    const long long meu = jogador(outro, "md", 25, 50, 300000, "Já Meu");
    for (int i = 0; i < 20; ++i) linhas.push_back(listado(meu, 300000));
    Base_Dados->Execute("UPDATE jogadores SET equipa = ? WHERE rowid = ?", {Clube_Treinador, meu});

    const int feitas = Transferir_Jogadores(linhas);
    EXPECT_GT(feitas, 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome LIKE 'Livre %'"), feitas);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome LIKE 'Livre %' AND idade < 17"), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome LIKE 'Livre %' AND (equipa = ? OR equipa NOT IN "
                     "(SELECT clube FROM clubes))",
                     {Clube_Treinador}),
              0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome LIKE 'Livre %' AND preco = 123456"), feitas);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes WHERE tipo LIKE '(0) - -> %'"), feitas);
    EXPECT_EQ(coluna(meu, "equipa"), Clube_Treinador);
    EXPECT_TRUE(porta.mensagens.empty());
}

// Listed free players of 22: each one is bought with chance one in four.
std::vector<Jogador_Listado> livres(int quantos) {
    std::vector<Jogador_Listado> linhas;
    for (int i = 0; i < quantos; ++i) {
        Jogador_Listado j;
        j.pos = "md";
        j.nome = "Livre " + std::to_string(i);
        j.clube = "-";
        j.idade = 22;
        j.forca = 50;
        j.preco = 123456;
        linhas.push_back(j);
    }
    return linhas;
}

// The matchday's purchases are saved together, each whole or not at all.
TEST_F(Listas, APurchaseThatFailsIsUndoneAloneAndAFailedSaveUndoesThemAll) {
    desarmar_falhas();
    armar_falha("transferencia.clubes", SQLITE_CONSTRAINT);
    const int feitas = Transferir_Jogadores(livres(40));
    desarmar_falhas();
    ASSERT_GT(feitas, 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome LIKE 'Livre %'"), feitas);
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias_clubes WHERE nome LIKE 'Livre %'"), feitas);
    ASSERT_EQ(porta.mensagens.size(), 1u);
    const std::string& aviso = porta.mensagens[0].texto;
    EXPECT_EQ(aviso.rfind("Algumas transferências entre clubes não foram feitas:\nLivre ", 0), 0u) << aviso;
    // The one named is the one not made.
    const std::string falhado = aviso.substr(aviso.find("Livre "), aviso.find(':', aviso.find("Livre ")) -
                                                                      aviso.find("Livre "));
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE nome = ?", {falhado}), 0);

    porta.mensagens.clear();
    const std::string antes = teste::conteudo_base(*Base_Dados);
    armar_falha("transferencias.gravar", SQLITE_FULL);
    EXPECT_EQ(Transferir_Jogadores(livres(40)), 0);
    desarmar_falhas();
    EXPECT_EQ(teste::conteudo_base(*Base_Dados), antes);
    EXPECT_FALSE(Base_Dados->em_transaccao());
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_NE(porta.mensagens[0].texto.find("Livre "), std::string::npos);
    EXPECT_NE(porta.mensagens[0].texto.find("O disco está cheio."), std::string::npos) << porta.mensagens[0].texto;
}

} // namespace
} // namespace gv
