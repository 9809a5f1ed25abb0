// Injuries of the manager's players.

#include "apoio_jornada.h"
#include "matchday/lesoes.h"

using namespace gv;
using teste::MAIOR_SORTEIO;

namespace {

class Lesoes : public teste::Base_Jornada {
protected:
    void SetUp() override {
        Base_Jornada::SetUp();
        clube(Clube_Treinador);
        // Never candidates: a goalkeeper starter, a substitute, a player
        // already injured, another club's starter.
        jogador(Clube_Treinador, "gk", 70, 1);
        jogador(Clube_Treinador, "df", 70, 2);
        long long ja = jogador(Clube_Treinador, "md", 70, 1);
        Base_Dados->Execute("UPDATE jogadores SET lesionado = 1 WHERE rowid = ?", {ja});
        jogador("Outro", "av", 70, 1);
    }
    int lesionados() { return contar("SELECT count(*) FROM jogadores WHERE lesionado = 1"); }
};

TEST_F(Lesoes, ADrawOf089InjuresAndJustBelowDoesNot) {
    long long candidato = jogador(Clube_Treinador, "av", 60, 1, "Zé Avançado");
    {
        Sorteios_Fixados r({static_cast<double>(std::nextafter(0.89f, 0.0f)), 0.0, 0.0});
        Verificar_Lesao();
    }
    EXPECT_EQ(lesionados(), 1);
    EXPECT_TRUE(porta.mensagens.empty());
    {
        // 0.89 in single precision, the first draw that injures.
        Sorteios_Fixados r({static_cast<double>(0.89f), 0.0, 0.0});
        Verificar_Lesao();
    }
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "O Jogador Zé Avançado lesionou-se. Fica inactivo 1 jornadas.");
    EXPECT_EQ(porta.mensagens[0].icone, Icone::Informacao);
    auto rs = Base_Dados->OpenRecordset("SELECT lesionado, lesionado_jor, joga FROM jogadores WHERE rowid = ?",
                                        {candidato});
    EXPECT_EQ(rs["lesionado"].int32(), 1);
    EXPECT_EQ(rs["lesionado_jor"].int32(), 2);
    EXPECT_EQ(rs["joga"].int32(), 3);
}

TEST_F(Lesoes, OnlyFitOutfieldStartersAreChosenEachEquallyLikely) {
    long long a = jogador(Clube_Treinador, "df", 60, 1);
    long long b = jogador(Clube_Treinador, "av", 60, 1);
    // The second draw picks among the two candidates by halves.
    {
        Sorteios_Fixados r({0.95, 0.49, MAIOR_SORTEIO});
        Verificar_Lesao();
    }
    EXPECT_EQ(contar("SELECT lesionado_jor FROM jogadores WHERE rowid = ?", {a}), 18);
    {
        Sorteios_Fixados r({0.95, 0.0, 0.5});
        Verificar_Lesao();
    }
    EXPECT_EQ(contar("SELECT lesionado_jor FROM jogadores WHERE rowid = ?", {b}), 10);
    EXPECT_EQ(lesionados(), 3);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE joga = 3"), 2);
}

TEST_F(Lesoes, NoCandidateMeansNoInjuryAndNoMessage) {
    Sorteios_Fixados r({MAIOR_SORTEIO, 0.0, 0.0});
    Verificar_Lesao();
    EXPECT_EQ(lesionados(), 1);
    EXPECT_TRUE(porta.mensagens.empty());
}

TEST_F(Lesoes, TheMessageInEnglish) {
    Lingua = std::string("I");
    jogador(Clube_Treinador, "md", 60, 1, "John Midfield");
    Sorteios_Fixados r({0.9, 0.0, MAIOR_SORTEIO});
    Verificar_Lesao();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "The player John Midfield have injury. He can't play for 17 matchs.");
}

} // namespace
