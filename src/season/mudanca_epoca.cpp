#include "season/mudanca_epoca.h"

#include <string>
#include <vector>

#include "data/carreira.h"
#include "data/clubes.h"
#include "data/esquema.h"
#include "data/erros.h"
#include "data/estado.h"
#include "data/financas.h"
#include "data/jogadores_novos.h"
#include "data/liga.h"
#include "data/tacticas.h"
#include "platform/falhas.h"
#include "platform/interface_utilizador.h"
#include "platform/texto.h"
#include "season/historico.h"
#include "season/planteis.h"
#include "season/resumo.h"
#include "season/subidas_descidas.h"

namespace gv {

namespace {

constexpr int Custo_Lugar_Estadio = 7;
constexpr int Marcadores_Retirados_Max = 110;
constexpr int Marcadores_Retirados_Ficam = 101;

// Holds the announcements made while the season changes and shows them
// once the change is saved; a change that fails announces nothing of it.
class Ui_Diferida : public Interface_Utilizador {
public:
    explicit Ui_Diferida(Interface_Utilizador& real) : real_(real) {}
    Resposta mensagem(const Mensagem& m) override {
        // Only announcements can wait; a question needs its answer now.
        if (m.botoes != Botoes::Ok) return real_.mensagem(m);
        guardadas_.push_back(m);
        return Resposta::Ok;
    }
    std::optional<Ficheiro_Escolhido> escolher_ficheiro(const Pedido_Ficheiro& p) override {
        return real_.escolher_ficheiro(p);
    }
    void rato_ocupado() override { real_.rato_ocupado(); }
    void rato_normal() override { real_.rato_normal(); }
    void processar_eventos() override { real_.processar_eventos(); }
    void mostrar() {
        for (const auto& m : guardadas_) real_.mensagem(m);
        guardadas_.clear();
    }

private:
    Interface_Utilizador& real_;
    std::vector<Mensagem> guardadas_;
};

void impostos_e_estadio() {
    auto& d = base_aberta();
    const long long compras =
        d.valor("SELECT coalesce(sum(valor), 0) FROM transferencias WHERE (Tipo = ? OR Tipo = ?) AND Epoca = ?",
                {Tipos_Transferencia::Compra, Tipos_Transferencia::Emprestimo_Entrada, Epoca_Actual})
            .inteiro();
    const long imposto = static_cast<long>(compras * 5 / 100);
    ui().aviso(txt("Impostos Relativos à Compra de Jogadores (5%): ", "Players Buys Tax (5%): ") +
                   formatar_dinheiro(imposto),
               Icone::Informacao);
    Movimento_Financeiro(Tipos_Movimento::Saida, imposto);

    const long lugares = Capacidade_Estadio(Clube_Treinador);
    const long custo = lugares * Custo_Lugar_Estadio;
    ui().aviso(std::string(txt("Manutenção do Estádio (", "Stadium Maintenance (")) + formatar_dinheiro(lugares) +
                   txt(" Lugares): ", " Seats): ") + formatar_dinheiro(custo),
               Icone::Informacao);
    Movimento_Financeiro(Tipos_Movimento::Saida, custo);
}

struct Jogador_Sai {
    long long id;
    std::string nome, equipa, pos;
    int idade;
};

std::vector<Jogador_Sai> ler_saidas(const std::string& sql, const db::Parametros& p) {
    std::vector<Jogador_Sai> r;
    auto rs = base_aberta().OpenRecordset(sql, p);
    for (; !rs.Eof(); rs.MoveNext())
        r.push_back({rs["id"].inteiro(), rs["nome"].texto(), rs["equipa"].texto(), rs["pos"].texto(),
                     rs["idade"].int32()});
    return r;
}

// The computer clubs' veterans whose contracts ended leave the game; the
// other ended contracts there are renewed for three seasons.
void contratos_computador(const std::string& proprio) {
    auto& d = base_aberta();
    d.Execute("UPDATE jogadores SET contrato = contrato - 1 WHERE equipa <> ?", {proprio});
    for (const auto& j : ler_saidas("SELECT rowid AS id, nome, equipa, pos, idade FROM jogadores "
                                    "WHERE idade > 33 AND contrato <= 0 AND equipa <> ? ORDER BY rowid",
                                    {proprio})) {
        Fechar_Marcador_Sempre(j.nome, j.equipa, j.pos, j.idade);
        d.Execute("DELETE FROM jogadores WHERE rowid = ?", {j.id});
    }
    d.Execute("UPDATE jogadores SET contrato = 3 WHERE contrato <= 0 AND equipa <> ?", {proprio});
}

// The manager's players whose contracts ended go to other clubs.
void contratos_treinador(const std::string& proprio) {
    auto& d = base_aberta();
    d.Execute("UPDATE jogadores SET contrato = contrato - 1 WHERE equipa = ?", {proprio});
    for (const auto& j : ler_saidas("SELECT rowid AS id, nome, equipa, pos, idade FROM jogadores "
                                    "WHERE contrato <= 0 AND equipa = ? ORDER BY rowid",
                                    {proprio})) {
        Fechar_Marcador_Sempre(j.nome, j.equipa, j.pos, j.idade);
        const std::string idade = std::to_string(j.idade);
        ui().aviso(ingles() ? "The Player " + j.nome + " (" + idade + " Years) go to another Club (End of contract)"
                            : "O jogador " + j.nome + " (" + idade +
                                  " Anos) Transferiu-se para outra Equipa (Fim de Contrato)",
                   Icone::Exclamacao);
        d.Execute("DELETE FROM jogadores WHERE rowid = ?", {j.id});
    }
}

void nova_taca() {
    auto& d = base_aberta();
    d.Execute("DELETE FROM clubes_taca_qualif");
    d.Execute("INSERT INTO clubes_taca_qualif (clube) SELECT clube FROM clubes_taca ORDER BY rowid");
    const int entrantes = d.valor("SELECT count(*) FROM clubes_taca_qualif").int32();
    Sortear_Jogos_Taca();
    // The draw reports its own query errors and carries on; a season must
    // not start without its cup.
    if (entrantes >= 2 && d.valor("SELECT count(*) FROM jogos_taca").int32() != entrantes / 2)
        throw db::Erro_BD(db::ERRO_SEM_REGISTO, "O sorteio da Taça da nova época não se fez");
}

void passos(const Convite* escolhido, bool contrato_termina) {
    auto& d = base_aberta();

    // The season's summary, as the end-of-season screen shows it.
    const Resumo_Epoca resumo = Ler_Resumo_Epoca();
    Registar_Vencedores(resumo);
    d.Execute("UPDATE principal SET T_contrato = T_contrato - 1");

    // The season's money.
    impostos_e_estadio();
    Premios(resumo);

    // Histories and the manager's job.
    Actualizar_Historico_Clubes();
    Actualizar_Historico_Treinador(false);
    if (contrato_termina) Actualizar_Equipa_Treinador(*escolhido);
    Zerar_V_E_D_GC_PC();
    const std::string proprio = Clube_Treinador;

    // The season's starters grow stronger; computer line-ups are cleared.
    d.Execute("UPDATE jogadores SET forca = forca + 8 WHERE joga = ?", {JOGA_TITULAR});
    d.Execute("UPDATE jogadores SET forca = 10 WHERE forca <= 0");
    d.Execute("UPDATE jogadores SET joga = ? WHERE equipa <> ?", {JOGA_NAO, proprio});

    // Divisions and the new season.
    Actualizar_Subidas_Descidas();
    ++Epoca_Actual;
    Jornada_Actual = 1;
    Eliminatoria_Taca = 1;
    Vencedor_Taca.clear();
    Reiniciar_Epoca();
    for (int div = 1; div <= 3; ++div) Gerar_Calendario(div);
    ponto_de_falha("epoca.calendario");

    // The players' year: goals cleared, loans ended, a year older.
    d.Execute("UPDATE jogadores SET golos = 0");
    d.Execute("UPDATE jogadores SET emprestado = 0");
    // An owner left empty (a loaned-in player bought on the season's last
    // desk, before any upkeep wrote '0') is no owner: he stays.
    d.Execute("UPDATE jogadores SET equipa = clube_origem WHERE trim(coalesce(clube_origem, '')) NOT IN ('0', '')");
    d.Execute("UPDATE jogadores SET clube_origem = '0'");
    d.Execute("UPDATE jogadores SET idade = idade + 1");
    d.Execute("UPDATE Melhores_Marcadores_Sempre SET idade = idade + 1 WHERE sit = ?", {MARCADOR_ACTIVO});
    contratos_computador(proprio);
    d.Execute("DELETE FROM transferencias_clubes");
    d.Execute("DELETE FROM Historico_Jornadas");

    // The manager's club.
    Reformar_Jogadores();
    contratos_treinador(proprio);
    d.Execute("DELETE FROM assistencias");

    nova_taca();

    d.Execute("UPDATE principal SET Jornada = ?, taca = ?, sit = 20, d_in = 0, d_out = 0, d_emp_out = 0, "
              "d_emp_in = 0, d_venda_out = 0, d_venda_in = 0, d_Ord = 0, d_estadio = 0, Epoca = ?",
              {Jornada_Actual, Eliminatoria_Taca, Epoca_Actual});

    // Squads and values.
    Escolher_Melhor_Equipa();
    Actualizar_Plantel_Clubes();
    Actualizar_DB_Melhores_Marcadores();
    aplicar_faixas_preco(d);
    // The manager's wages stay as agreed.
    d.Execute("UPDATE jogadores SET ordenado = CASE WHEN preco >= 0 THEN preco / 100 ELSE -((99 - preco) / 100) END "
              "WHERE equipa <> ? AND clube_origem <> ?",
              {proprio, proprio});
    d.Execute("UPDATE jogadores SET clube_origem = '0'");
}

} // namespace

bool Contrato_Termina() { return Ler_T_Contrato() - 1 <= 0; }

Resultado_Mudanca Mudar_Epoca(const Convite* escolhido) {
    Interface_Utilizador& real = ui();
    bool termina = false;
    try {
        termina = Contrato_Termina();
    } catch (const db::Erro_BD& e) {
        real.aviso(std::string(txt("Não foi possível mudar de época.", "The season could not be changed.")) +
                       Linha_Causa(e),
                   Icone::Critico);
        return Resultado_Mudanca::Falhada;
    }
    if (termina && !escolhido) {
        real.aviso(txt("Tem que escolher uma Equipa para Continuar a Jogar.", "You must choose one Team to go on."),
                   Icone::Critico);
        return Resultado_Mudanca::Sem_Escolha;
    }

    const Estado_Guardado antes;
    Ui_Diferida diferida(real);
    std::string erro;   // the cause, for the person
    real.rato_ocupado();
    {
        Ui_Instalada instalada(diferida);
        try {
            db::Transaccao t(base_aberta());
            passos(escolhido, termina);
            ponto_de_falha("epoca.gravar");
            t.commit();
        } catch (const std::exception& e) {
            // The transaction is rolled back by now; the state follows it.
            antes.repor();
            erro = Linha_Causa(e);
        }
    }
    real.rato_normal();
    if (!erro.empty()) {
        real.aviso(std::string(txt("Não foi possível mudar de época. Nada foi gravado e pode tentar de novo.",
                                   "The season could not be changed. Nothing was saved and you can try again.")) +
                       erro,
                   Icone::Critico);
        return Resultado_Mudanca::Falhada;
    }
    diferida.mostrar();
    return Resultado_Mudanca::Feita;
}

void Actualizar_DB_Melhores_Marcadores() {
    auto& d = base_aberta();
    const int retirados =
        d.valor("SELECT count(*) FROM Melhores_Marcadores_Sempre WHERE sit = ?", {MARCADOR_SAIU}).int32();
    if (retirados > Marcadores_Retirados_Max)
        d.Execute("DELETE FROM Melhores_Marcadores_Sempre WHERE sit = ?1 AND rowid NOT IN (SELECT rowid FROM "
                  "Melhores_Marcadores_Sempre WHERE sit = ?1 ORDER BY golos DESC, rowid LIMIT ?2)",
                  {MARCADOR_SAIU, Marcadores_Retirados_Ficam});
    d.Execute("UPDATE Melhores_Marcadores_Sempre SET sit = ?1, ano = ?2 WHERE sit = ?3 AND NOT EXISTS (SELECT 1 FROM "
              "jogadores WHERE jogadores.nome = Melhores_Marcadores_Sempre.nome AND jogadores.pos = "
              "Melhores_Marcadores_Sempre.pos AND jogadores.equipa = Melhores_Marcadores_Sempre.equipa AND "
              "jogadores.idade = Melhores_Marcadores_Sempre.idade)",
              {MARCADOR_SAIU, Epoca_Actual - 1, MARCADOR_ACTIVO});
}

} // namespace gv
