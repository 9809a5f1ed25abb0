// New players' attributes, the price of a deal and the veterans' retirement.

#include <set>
#include <tuple>

#include "apoio_epoca.h"
#include "data/jogadores_novos.h"

namespace gv {
namespace {

using teste::acima;

TEST(Jogador_Novo, DrawsMeetTheirThresholds) {
    EXPECT_EQ(Preco_Com_Sorteio(35, 25, 0.2), 157'500);
    EXPECT_EQ(Preco_Com_Sorteio(36, 25, 0.2), 216'000);
    EXPECT_EQ(Preco_Com_Sorteio(101, 30, 0.5), 1'515'000);
    EXPECT_EQ(Preco_Com_Sorteio(35, 25, 0.1), 94'500) << "one deal in five is lowered";
    EXPECT_EQ(Preco_Com_Sorteio(35, 25, teste::abaixo(0.2)), 110'250);
    EXPECT_EQ(Preco_Com_Sorteio(50, 42, 0.9), -40'000) << "not clamped";
    const std::pair<double, const char*> posicoes[] = {
        {0.1, "gk"}, {acima(0.1), "df"}, {0.43, "df"}, {acima(0.43), "md"}, {0.75, "md"}, {acima(0.75), "av"}};
    for (auto [r, pos] : posicoes) EXPECT_EQ(Posicao_Do_Sorteio(r), pos) << r;
    const std::pair<int, double> limiares[] = {{34, 0.75}, {35, 0.6}, {36, 0.5}, {37, 0.3}};
    for (auto [idade, r] : limiares) {
        EXPECT_FALSE(Reforma_Com_Sorteio(idade, r)) << idade;
        EXPECT_TRUE(Reforma_Com_Sorteio(idade, acima(r))) << idade;
    }
    EXPECT_TRUE(Reforma_Com_Sorteio(38, 0.0));
    EXPECT_TRUE(Reforma_Com_Sorteio(55, 0.0));
    EXPECT_FALSE(Reforma_Com_Sorteio(56, teste::MAIOR_SORTEIO));
    EXPECT_FALSE(Reforma_Com_Sorteio(33, teste::MAIOR_SORTEIO));
}

class Jogadores_Novos : public teste::Base_Epoca {};

TEST_F(Jogadores_Novos, NamesComeFromThePoolAndAnEmptyPoolIsAnError) {
    std::set<std::string> vistos;
    for (int i = 0; i < 300; ++i) vistos.insert(Nome_Aleatorio());
    EXPECT_EQ(vistos, (std::set<std::string>{"Ana", "Bruno", "Carlos"}));
    Base_Dados->Execute("DELETE FROM jogadores_all");
    EXPECT_THROW(Nome_Aleatorio(), db::Erro_BD);
}

TEST_F(Jogadores_Novos, VeteransDrawOnceEachInRowOrderAndLeaveWithTheirMessage) {
    Epoca_Actual = 2000;
    const int idades[] = {33, 34, 35, 36, 38};
    std::vector<long long> ids;
    for (int idade : idades) {
        ids.push_back(jogador(Clube_Treinador, "md", 60, 0, "O'Neil " + std::to_string(idade)));
        Base_Dados->Execute("UPDATE jogadores SET idade = ? WHERE rowid = ?", {idade, ids.back()});
    }
    Base_Dados->Execute("UPDATE jogadores SET idade = 40 WHERE rowid = ?", {jogador("Outro FC", "md", 60)});
    // The 38-year-old's scorer rows: his own, a namesake of another age, and
    // an old row of his closed in 1990.
    for (auto [idade, sit, ano] : {std::tuple{38, 1, 0}, std::tuple{37, 1, 0}, std::tuple{38, 0, 1990}})
        Base_Dados->Execute("INSERT INTO Melhores_Marcadores_Sempre (nome, equipa, pos, idade, golos, sit, ano) "
                            "VALUES (?, ?, 'md', ?, 9, ?, ?)",
                            {"O'Neil 38", Clube_Treinador, idade, sit, ano});
    semear_aleatorio(99);
    std::vector<double> sorteios;
    for (int i = 0; i < 4; ++i) sorteios.push_back(Rnd());
    semear_aleatorio(99);
    Reformar_Jogadores();

    std::vector<std::string> esperadas;
    for (std::size_t i = 1; i < 5; ++i) {
        const bool sai = Reforma_Com_Sorteio(idades[i], sorteios[i - 1]);
        EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE rowid = ?", {ids[i]}), sai ? 0 : 1) << idades[i];
        if (sai) esperadas.push_back("O jogador O'Neil " + std::to_string(idades[i]) + " deixa de Jogar Futebol (" +
                                     std::to_string(idades[i]) + " Anos)");
    }
    std::vector<std::string> mostradas;
    for (const auto& m : porta.mensagens) mostradas.push_back(m.texto);
    EXPECT_EQ(mostradas, esperadas);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores"), 6 - static_cast<int>(esperadas.size()));
    EXPECT_EQ(Base_Dados->valor("SELECT group_concat(sit || '/' || ano) FROM Melhores_Marcadores_Sempre").texto(),
              "0/1999,1/0,0/1990");
    Lingua = "I";
    porta.mensagens.clear();
    Base_Dados->Execute("UPDATE jogadores SET idade = 40 WHERE nome = ?", {"O'Neil 33"});
    Reformar_Jogadores();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "The Player O'Neil 33 Leave the football (40 years)");
}

} // namespace
} // namespace gv
