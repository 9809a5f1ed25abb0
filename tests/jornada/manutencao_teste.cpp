// The players' week after a league round and after a cup round.

#include "apoio_jornada.h"
#include "matchday/manutencao.h"

using namespace gv;

namespace {

class Manutencao : public teste::Base_Jornada {
protected:
    struct Estado {
        int sit, forca, joga, lesionado, lesionado_jor;
        bool operator==(const Estado&) const = default;
    };
    friend std::ostream& operator<<(std::ostream& o, const Estado& e) {
        return o << "{sit " << e.sit << ", forca " << e.forca << ", joga " << e.joga << ", lesionado " << e.lesionado
                 << ", lesionado_jor " << e.lesionado_jor << "}";
    }
    long long do_treinador(int sit, int joga, int forca = 50) {
        long long id = jogador(Clube_Treinador, "md", forca, joga);
        Base_Dados->Execute("UPDATE jogadores SET sit = ? WHERE rowid = ?", {sit, id});
        return id;
    }
    Estado estado(long long id) {
        auto rs = Base_Dados->OpenRecordset(
            "SELECT sit, forca, joga, lesionado, lesionado_jor FROM jogadores WHERE rowid = ?", {id});
        return {rs["sit"].int32(), rs["forca"].int32(), rs["joga"].int32(), rs["lesionado"].int32(),
                rs["lesionado_jor"].int32()};
    }
    void lesionar(long long id, int jornadas) {
        Base_Dados->Execute("UPDATE jogadores SET lesionado = 1, lesionado_jor = ?, joga = 3 WHERE rowid = ?",
                            {jornadas, id});
    }
    int precos_errados() {
        int n = 0;
        auto rs = Base_Dados->OpenRecordset("SELECT idade, forca, preco FROM jogadores");
        for (; !rs.Eof(); rs.MoveNext())
            if (rs["preco"].inteiro() != preco_faixa(rs["idade"].int32(), rs["forca"].int32())) ++n;
        return n;
    }
};

TEST_F(Manutencao, FormMovesStrengthAtItsLimitsInTheLeague) {
    long long cansado = do_treinador(-2, 1);
    long long golos4 = do_treinador(4, 1);     // goals took the counter past 3
    long long golos5 = do_treinador(5, 1);
    long long descansado = do_treinador(2, 0);
    long long suplente = do_treinador(0, 2);
    long long lesionado = do_treinador(-2, 3);
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(estado(cansado), (Estado{0, 49, 1, 0, 0}));
    EXPECT_EQ(estado(golos4), (Estado{0, 51, 1, 0, 0}));
    EXPECT_EQ(estado(golos5), (Estado{0, 50, 1, 0, 0})) << "reset beyond the limit, strength unchanged";
    EXPECT_EQ(estado(descansado), (Estado{0, 51, 0, 0, 0}));
    EXPECT_EQ(estado(suplente), (Estado{1, 50, 2, 0, 0}));
    EXPECT_EQ(estado(lesionado), (Estado{-2, 50, 3, 0, 0})) << "an injured player keeps his form";
}

TEST_F(Manutencao, TheCupResetsFormOnlyAtExactlyItsLimits) {
    long long cansado = do_treinador(-2, 1);
    long long golos4 = do_treinador(4, 1);
    long long golos5 = do_treinador(5, 1);
    long long descansado = do_treinador(2, 0);
    Actualizar_Jogadores_Taca();
    EXPECT_EQ(estado(cansado), (Estado{0, 49, 1, 0, 0}));
    EXPECT_EQ(estado(golos4), (Estado{0, 51, 1, 0, 0}));
    EXPECT_EQ(estado(golos5), (Estado{4, 50, 1, 0, 0}));
    EXPECT_EQ(estado(descansado), (Estado{0, 51, 0, 0, 0}));
}

TEST_F(Manutencao, InjuriesCountDownAfterLeagueRoundsOnly) {
    long long volta = do_treinador(0, 3);
    lesionar(volta, 1);
    long long continua = do_treinador(0, 3);
    lesionar(continua, 5);
    Actualizar_Jogadores_Taca();
    EXPECT_EQ(estado(volta), (Estado{0, 50, 3, 1, 1}));
    EXPECT_EQ(estado(continua), (Estado{0, 50, 3, 1, 5}));
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(estado(volta), (Estado{1, 50, 0, 0, 0})) << "back and counted as unpicked";
    EXPECT_EQ(estado(continua), (Estado{0, 50, 3, 1, 4}));
}

TEST_F(Manutencao, ComputerLineUpsAreClearedAndTheirPlayersGrowOnFixedMatchdays) {
    long long outro = jogador("Outro", "av", 60, 1);
    long long meu = do_treinador(0, 1, 60);
    Jornada_Actual = 5;
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(estado(outro), (Estado{0, 60, 0, 0, 0}));
    Jornada_Actual = 4;
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(estado(outro).forca, 61);
    EXPECT_EQ(estado(meu).forca, 60);
    EXPECT_EQ(estado(meu).joga, 1) << "the manager's line-up is his own";
    EXPECT_EQ(precos_errados(), 0) << "prices follow the new strengths";
    int crescimentos = 0;
    for (int j = 1; j <= 34; ++j) crescimentos += Jornada_De_Crescimento(j);
    EXPECT_EQ(crescimentos, 8);
    // The cup clears the computer line-ups too.
    Base_Dados->Execute("UPDATE jogadores SET joga = 1 WHERE rowid = ?", {outro});
    Actualizar_Jogadores_Taca();
    EXPECT_EQ(estado(outro).joga, 0);
}

TEST_F(Manutencao, PricesFollowEveryBandAndWagesFollowOtherClubsPrices) {
    for (int forca : {20, 35, 36, 60, 61, 75, 76, 100, 101, 120}) jogador("Outro", "df", forca);
    long long computador = jogador("Outro", "md", 70);
    long long meu = do_treinador(0, 0, 70);
    long long cedido = jogador("Outro", "av", 70);       // the manager's player lent out
    long long pedido = do_treinador(0, 0, 70);            // a player the manager borrowed
    Base_Dados->Execute("UPDATE jogadores SET clube_origem = ?, emprestado = 1 WHERE rowid = ?", {Clube_Treinador, cedido});
    Base_Dados->Execute("UPDATE jogadores SET clube_origem = 'Outro', emprestado = 1 WHERE rowid = ?", {pedido});
    Base_Dados->Execute("UPDATE jogadores SET ordenado = 7");
    Actualizar_Jogadores_Taca();
    EXPECT_EQ(precos_errados(), 0);
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE ordenado <> 7"), 0) << "the cup leaves wages";
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(precos_errados(), 0);
    const int preco = contar("SELECT preco FROM jogadores WHERE rowid = ?", {computador});
    EXPECT_EQ(preco, preco_faixa(25, 70));
    EXPECT_EQ(contar("SELECT ordenado FROM jogadores WHERE rowid = ?", {computador}), preco / 100);
    for (long long id : {meu, cedido, pedido})
        EXPECT_EQ(contar("SELECT ordenado FROM jogadores WHERE rowid = ?", {id}), 7);
}

TEST_F(Manutencao, PlayersWithoutAClubGoAndMissingOwnersAreRepaired) {
    jogador("", "md", 50);
    jogador("   ", "md", 50);
    Base_Dados->Execute("INSERT INTO jogadores (nome, pos, forca) VALUES ('Sem Equipa', 'av', 40)");
    long long sem_dono = jogador("Outro", "av", 50);
    long long em_branco = jogador("Outro", "av", 50);
    Base_Dados->Execute("UPDATE jogadores SET clube_origem = NULL WHERE rowid = ?", {sem_dono});
    Base_Dados->Execute("UPDATE jogadores SET clube_origem = '  ' WHERE rowid = ?", {em_branco});
    Actualizar_Jogadores_Taca();
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores"), 2);
    EXPECT_TRUE(valor("SELECT clube_origem FROM jogadores WHERE rowid = ?", {sem_dono}).nulo());
    Actualizar_Jogadores_Jornada();
    EXPECT_EQ(contar("SELECT count(*) FROM jogadores WHERE clube_origem = '0'"), 2);
}

} // namespace
