// The manager's job review of the real-game option.

#include "apoio_epoca.h"
#include "platform/falhas.h"
#include "season/situacao.h"

namespace gv {
namespace {

TEST(Veredicto, RunsAndPlacesDecide) {
    using V = Veredicto;
    EXPECT_EQ(Veredicto_Situacao(4, 18, 0, 9, 0, 20), V::Nada) << "not before the fifth matchday";
    EXPECT_EQ(Veredicto_Situacao(5, 1, 0, 6, 0, 6), V::Despedido) << "six defeats, even when leading";
    EXPECT_EQ(Veredicto_Situacao(5, 16, 0, 0, 0, 12), V::Despedido);
    EXPECT_EQ(Veredicto_Situacao(5, 15, 0, 0, 0, 12), V::Nada);
    for (int jornada : {25, 30}) EXPECT_EQ(Veredicto_Situacao(jornada, 17, 0, 0, 0, 3), V::Despedido) << jornada;
    for (int jornada : {24, 31}) EXPECT_EQ(Veredicto_Situacao(jornada, 17, 0, 0, 0, 3), V::Nada) << jornada;
    EXPECT_EQ(Veredicto_Situacao(10, 18, 6, 0, 6, 0), V::Convidado) << "six wins from any place";
    EXPECT_EQ(Veredicto_Situacao(10, 5, 0, 0, 15, 0), V::Convidado);
    EXPECT_EQ(Veredicto_Situacao(10, 6, 0, 0, 15, 0), V::Nada);
    EXPECT_EQ(Veredicto_Situacao(10, 5, 0, 6, 15, 0), V::Convidado) << "the later rule overrides";
}

class Situacao : public teste::Base_Epoca {
protected:
    void SetUp() override {
        Base_Epoca::SetUp();
        Jornada_Actual = 10;
        Jogo_Real = 1;
    }
    void TearDown() override {
        desarmar_falhas();
        Base_Epoca::TearDown();
    }
    // A league where every club has a squad to take over.
    void liga_com_planteis(int div, int lugar) {
        liga(18, div, lugar);
        auto rs = Base_Dados->OpenRecordset("SELECT clube FROM clubes");
        for (; !rs.Eof(); rs.MoveNext()) plantel(rs["clube"].texto(), 2, 5, 4, 4);
    }
    std::string texto(const std::string& sql) { return Base_Dados->valor(sql).texto(); }
};

TEST_F(Situacao, SixDefeatsSackTheLeaderToTheMiddleOfDivisionTwo) {
    liga_com_planteis(1, 1);
    Base_Dados->Execute("UPDATE principal SET d = 6, pc = 6, d_total = 9000000, d_in = 5, d_b_divida = 100, "
                        "d_b_mensal = 10, T_contrato = 1, cont = 2");
    Base_Dados->Execute("INSERT INTO transferencias (Epoca, Tipo, valor) VALUES (1999, 'C', 1)");
    Base_Dados->Execute("INSERT INTO assistencias (Jornada, Jogo) VALUES (1, 'x')");
    Ver_Situacao();
    ASSERT_EQ(div_de(Clube_Treinador), 2);
    const std::string lugar = std::to_string(std::stoi(Clube_Treinador.substr(4)));
    EXPECT_TRUE(std::stoi(lugar) >= 5 && std::stoi(lugar) <= 12) << lugar;
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].texto, "Foi Despedido da Equipa Treinador FC. Foi contratado pela equipa " +
                                            Clube_Treinador + " (2ª Div. - " + lugar + "º Lugar) por 2 Épocas.");
    EXPECT_EQ(texto("SELECT equipa || ' ' || d_total || ' ' || (d_in + d_b_divida + d_b_mensal + d + pc) || ' ' || "
                    "T_contrato || ' ' || sit || ' ' || cont FROM principal"),
              Clube_Treinador + " 2000000 0 2 20 2");
    EXPECT_EQ(contar("SELECT count(*) FROM transferencias") + contar("SELECT count(*) FROM assistencias"), 0);
    EXPECT_EQ(texto("SELECT clube || Class FROM historico_treinador"), "Treinador FC1");
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE equipa = ? AND joga = 1", {Clube_Treinador}), 11);
    EXPECT_TRUE(estados.empty()) << "no status text during the season";
}

TEST_F(Situacao, AnInvitationIsAskedAndARefusalOnlyResetsTheCoachPerformance) {
    liga_com_planteis(3, 4);
    Base_Dados->Execute("UPDATE principal SET v = 6, sit = 31, d_total = 123");
    porta.responder(Resposta::Nao);
    Ver_Situacao();
    ASSERT_EQ(porta.mensagens.size(), 1u);
    EXPECT_EQ(porta.mensagens[0].botoes, Botoes::SimNao);
    EXPECT_EQ(porta.mensagens[0].botao_defeito, 1) << "No is the default";
    EXPECT_EQ(porta.mensagens[0].texto.rfind("Foi convidado para treinar a equipa D2 C", 0), 0u);
    EXPECT_NE(porta.mensagens[0].texto.find("º Lugar) por 3 Épocas. Aceita?"), std::string::npos);
    EXPECT_EQ(texto("SELECT equipa || ' ' || sit || ' ' || d_total || ' ' || v FROM principal"), "Treinador FC 20 123 6");

    porta.responder(Resposta::Sim);
    Lingua = "I";
    Ver_Situacao();
    EXPECT_EQ(porta.mensagens.back().texto.rfind("You have been invited to coach the team D2 C", 0), 0u);
    EXPECT_GE(std::stoi(Clube_Treinador.substr(4)), 13) << "rows 13-17 of division 2";
    EXPECT_EQ(texto("SELECT T_contrato || ' ' || d_total FROM principal"), "3 2000000");
}

TEST_F(Situacao, AFailedMoveChangesNothing) {
    liga_com_planteis(3, 18);
    Base_Dados->Execute("UPDATE principal SET d = 7, d_total = 55");
    const auto bytes = teste::ler_bytes(caminho("jogo.gv"));
    armar_falha("situacao.mudar");
    Ver_Situacao();
    EXPECT_EQ(Clube_Treinador, "Treinador FC");
    EXPECT_EQ(teste::ler_bytes(caminho("jogo.gv")), bytes);
    ASSERT_EQ(porta.mensagens.size(), 2u);
    EXPECT_EQ(porta.mensagens[1].icone, Icone::Critico);
}

} // namespace
} // namespace gv
