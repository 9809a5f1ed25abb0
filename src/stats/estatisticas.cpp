#include "stats/estatisticas.h"

#include <cstdio>
#include <map>

#include "data/clubes.h"
#include "data/esquema.h"
#include "data/estado.h"
#include "matchday/classificacao.h"
#include "matchday/ronda.h"
#include "platform/texto.h"

namespace gv {

namespace {

// Byte length of the first n characters of a UTF-8 text.
std::size_t bytes_ate(const std::string& s, int n) {
    std::size_t i = 0;
    for (int c = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (c == n) break;
            ++c;
        }
    }
    return i;
}

std::optional<int> inteiro_opcional(const db::Valor& v) {
    if (v.nulo() || aparar(v.texto()).empty()) return std::nullopt;
    return v.int32();
}

long long soma(const std::string& sql, const db::Parametros& p = {}) {
    return base_aberta().valor(sql, p).inteiro();
}

} // namespace

// ---------------------------------------------------------------- shared

std::vector<Clube_Da_Liga> Clubes_Da_Liga() {
    std::vector<Clube_Da_Liga> v;
    auto rs = base_aberta().OpenRecordset("SELECT clube, div FROM clubes ORDER BY clube");
    for (; !rs.Eof(); rs.MoveNext()) v.push_back({rs["clube"].texto(), rs["div"].int32()});
    return v;
}

std::string campo_fixo(const std::string& texto, int largura) {
    int n = n_caracteres(texto);
    if (n > largura) return texto.substr(0, bytes_ate(texto, largura));
    return texto + std::string(static_cast<std::size_t>(largura - n), ' ');
}

// ---------------------------------------------------------------- league calendar

std::string Jogo_Calendario::letra_local() const {
    if (em_casa) return txt("C", "H");
    return txt("F", "A");
}

std::string Jogo_Calendario::letra_resultado() const {
    switch (desfecho) {
    case Desfecho::Por_Jogar: return {};
    case Desfecho::Empate: return txt("E", "D");
    case Desfecho::Vitoria_Casa: return em_casa ? txt("V", "W") : txt("D", "L");
    case Desfecho::Vitoria_Fora: return em_casa ? txt("D", "L") : txt("V", "W");
    }
    return {};
}

std::string Jogo_Calendario::texto_casa() const {
    if (em_casa) return casa;
    return "(" + std::to_string(lugar_adversario) + ") " + casa;
}

std::string Jogo_Calendario::texto_fora() const {
    if (!em_casa) return fora;
    return fora + " (" + std::to_string(lugar_adversario) + ")";
}

std::vector<Jogo_Calendario> Calendario_Clube(const std::string& clube) {
    auto& d = base_aberta();
    std::map<int, std::pair<int, int>> historico;   // jor -> (pos, pontos)
    auto h = d.OpenRecordset("SELECT jor, pos, pontos FROM Historico_Jornadas WHERE clube = ? ORDER BY jor, rowid",
                             {clube});
    for (; !h.Eof(); h.MoveNext()) historico.try_emplace(h["jor"].int32(), h["pos"].int32(), h["pontos"].int32());

    std::map<std::string, int> lugares;
    auto lugar = [&](const std::string& c) {
        auto it = lugares.find(c);
        if (it == lugares.end()) it = lugares.emplace(c, Posicao_Clube(c)).first;
        return it->second;
    };

    std::vector<Jogo_Calendario> v;
    auto rs = d.OpenRecordset("SELECT jor, casa, fora, result FROM jogos WHERE casa = ? OR fora = ? ORDER BY jor, rowid",
                              {clube, clube});
    for (; !rs.Eof(); rs.MoveNext()) {
        Jogo_Calendario j;
        j.jor = rs["jor"].int32();
        j.casa = rs["casa"].texto();
        j.fora = rs["fora"].texto();
        j.em_casa = j.casa == clube;
        j.lugar_adversario = lugar(j.em_casa ? j.fora : j.casa);
        if (auto r = Ler_Resultado(aparar(rs["result"].texto()))) {
            j.golos_casa = r->first;
            j.golos_fora = r->second;
            j.desfecho = r->first > r->second   ? Desfecho::Vitoria_Casa
                         : r->first < r->second ? Desfecho::Vitoria_Fora
                                                : Desfecho::Empate;
            auto it = historico.find(j.jor);
            if (it != historico.end()) {
                j.lugar = it->second.first;
                j.pontos = it->second.second;
            }
        }
        v.push_back(std::move(j));
    }
    return v;
}

// ---------------------------------------------------------------- cup calendar

std::vector<Eliminatoria> Jogos_Taca() {
    std::vector<Eliminatoria> v;
    auto rs = base_aberta().OpenRecordset("SELECT casa, fora FROM jogos_taca ORDER BY casa, fora");
    for (; !rs.Eof(); rs.MoveNext()) {
        Eliminatoria e{rs["casa"].texto(), rs["fora"].texto()};
        e.div_casa = Divisao_Clube(e.casa);
        e.div_fora = Divisao_Clube(e.fora);
        v.push_back(std::move(e));
    }
    return v;
}

std::string Titulo_Calendario_Taca(int n, int ronda, int epoca) {
    const std::string r = std::to_string(ronda), y = std::to_string(epoca);
    const bool en = ingles();
    switch (n) {
    case 32: return en ? "CUP Games - " + r + "st Match - " + y : "Jogos Taça - " + r + "ª eliminatória  - " + y;
    case 16: return en ? "CUP Matchs - " + r + "nd Match  - " + y : "Jogos Taça - " + r + "ª eliminatória  - " + y;
    case 8: return en ? "CUP Matchs - " + r + "rd Match  - " + y : "Jogos Taça - Oitavos Final - " + y;
    case 4: return en ? "CUP Matchs - " + r + "th Match  - " + y : "Jogos Taça - Quartos Final - " + y;
    case 2: return en ? "CUP Matchs - Semifinal - " + y : "Jogos Taça - Meias Finais - " + y;
    case 1: return en ? "CUP Matchs - Final - " + y : "Jogos Taça - Final - " + y;
    default: return {};
    }
}

// ---------------------------------------------------------------- gates

std::vector<Assistencia_Jogo> Assistencias() {
    std::vector<Assistencia_Jogo> v;
    // Within a matchday the later entry first: the league match follows the cup tie.
    auto rs = base_aberta().OpenRecordset(
        "SELECT Jornada, Jogo, Tipo, assistencia, receita FROM assistencias ORDER BY Jornada DESC, rowid DESC");
    for (; !rs.Eof(); rs.MoveNext())
        v.push_back({rs["Jornada"].int32(), rs["Jogo"].texto(), rs["Tipo"].texto(), rs["assistencia"].inteiro(),
                     rs["receita"].inteiro()});
    return v;
}

long long Receitas_Competicao(const std::string& tipo) {
    return soma("SELECT sum(receita) FROM assistencias WHERE Tipo = ?", {tipo});
}

// ---------------------------------------------------------------- average strength

std::vector<Media_Clube> Medias_Posicao(const std::string& pos) {
    std::vector<Media_Clube> v;
    auto rs = base_aberta().OpenRecordset(
        "SELECT equipa, avg(forca) AS forc FROM jogadores WHERE pos = ? GROUP BY equipa ORDER BY avg(forca) DESC, equipa",
        {pos});
    for (; !rs.Eof(); rs.MoveNext()) v.push_back({rs["equipa"].texto(), rs["forc"].real()});
    return v;
}

std::string Linha_Media(int k, const Media_Clube& m) {
    char media[32];
    std::snprintf(media, sizeof media, "%.2f", m.media);
    return campo_fixo(std::to_string(k), 3) + campo_fixo(m.clube, 30) + media;
}

// ---------------------------------------------------------------- season scorers

std::vector<Marcador_Da_Epoca> Melhores_Marcadores_Divisao(int div) {
    std::vector<Marcador_Da_Epoca> v;
    auto rs = base_aberta().OpenRecordset(
        "SELECT jogadores.nome, jogadores.equipa, jogadores.golos FROM jogadores "
        "INNER JOIN clubes ON jogadores.equipa = clubes.clube "
        "WHERE jogadores.golos >= 1 AND clubes.div = ? ORDER BY jogadores.golos DESC, jogadores.nome",
        {div});
    for (; !rs.Eof(); rs.MoveNext()) {
        Marcador_Da_Epoca m{rs["nome"].texto(), rs["equipa"].texto(), rs["golos"].int32()};
        if (v.size() >= 20 && !(m.golos == v[19].golos && db::comparar_nomes(m.nome, v[19].nome) == 0)) break;
        v.push_back(std::move(m));
    }
    return v;
}

std::string Linha_Marcador_Epoca(int n, const Marcador_Da_Epoca& m) {
    // A blank after the club's field: a club of 20 characters fills it.
    return campo_fixo(std::to_string(n), 3) + campo_fixo(m.nome, 24) + campo_fixo(m.equipa, 20) + " " +
           std::to_string(m.golos);
}

bool Ha_Golos_Epoca() {
    return !base_aberta().valor("SELECT 1 FROM jogadores WHERE golos >= 1 LIMIT 1").nulo();
}

// ---------------------------------------------------------------- all-time scorers

std::vector<Marcador_Sempre> Marcadores_Sempre(Lista_Sempre lista, const std::string& clube) {
    std::string sql = "SELECT nome, equipa, idade, golos, ano FROM Melhores_Marcadores_Sempre";
    if (lista == Lista_Sempre::A_Jogar) sql += " WHERE sit = 1";
    if (lista == Lista_Sempre::Retirados) sql += " WHERE sit = 0";
    sql += " ORDER BY golos DESC, nome LIMIT 100";
    std::vector<Marcador_Sempre> v;
    auto rs = base_aberta().OpenRecordset(sql);
    for (int n = 1; !rs.Eof(); rs.MoveNext(), ++n) {
        Marcador_Sempre m;
        m.rank = n;
        m.equipa = rs["equipa"].texto();
        if (!clube.empty() && m.equipa != clube) continue;
        m.nome = rs["nome"].texto();
        m.idade = rs["idade"].int32();
        m.golos = rs["golos"].int32();
        m.ano = inteiro_opcional(rs["ano"]).value_or(0);
        v.push_back(std::move(m));
    }
    return v;
}

std::string Linha_Marcador_Sempre(const Marcador_Sempre& m) {
    std::string nome = m.nome;
    if (m.ano != 0) nome += "(" + std::to_string(m.ano) + "-" + std::to_string(m.idade) + ")";
    return campo_fixo(std::to_string(m.rank), 4) + campo_fixo(nome, 30) + campo_fixo(m.equipa, 25) + std::to_string(m.golos);
}

// ---------------------------------------------------------------- transfers

std::vector<Transferencia> Transferencias_Clube(bool entradas) {
    std::vector<Transferencia> v;
    auto rs = base_aberta().OpenRecordset(
        "SELECT Epoca, Jornada, pos, nome, forca, Tipo, valor FROM transferencias WHERE Tipo = ? OR Tipo = ? "
        "ORDER BY Epoca DESC, Jornada DESC, rowid DESC",
        entradas ? db::Parametros{Tipos_Transferencia::Compra, Tipos_Transferencia::Emprestimo_Entrada}
                 : db::Parametros{Tipos_Transferencia::Venda, Tipos_Transferencia::Emprestimo_Saida});
    for (; !rs.Eof(); rs.MoveNext())
        v.push_back({rs["Epoca"].int32(), rs["Jornada"].int32(), rs["pos"].texto(), rs["nome"].texto(),
                     rs["forca"].int32(), rs["Tipo"].texto(), rs["valor"].inteiro()});
    return v;
}

Totais_Transferencias Totais_Transferencias_Clube(int epoca) {
    const char* gastos = "SELECT sum(valor) FROM transferencias WHERE (Tipo = 'C' OR Tipo = 'E+')";
    const char* receitas = "SELECT sum(valor) FROM transferencias WHERE (Tipo = 'V' OR Tipo = 'E-')";
    Totais_Transferencias t;
    t.gastos_total = soma(gastos);
    t.receitas_total = soma(receitas);
    t.gastos_epoca = soma(std::string(gastos) + " AND Epoca = ?", {epoca});
    t.receitas_epoca = soma(std::string(receitas) + " AND Epoca = ?", {epoca});
    return t;
}

std::string Texto_Tipo_Transferencia(const std::string& tipo) {
    if (tipo == Tipos_Transferencia::Compra) return "Compra";
    if (tipo == Tipos_Transferencia::Venda) return "Venda";
    if (tipo == Tipos_Transferencia::Emprestimo_Entrada || tipo == Tipos_Transferencia::Emprestimo_Saida)
        return "Empréstimo";
    return {};
}

std::string Transferencia_Clubes::texto_nome() const {
    return maiusculas(pos) + " - " + nome + " (" + std::to_string(idade) + ")";
}

std::vector<Transferencia_Clubes> Transferencias_Todas(const std::string& clube, Ordem_Transferencias ordem) {
    std::string sql = "SELECT jornada, pos, nome, forca, tipo, valor, idade FROM transferencias_clubes";
    db::Parametros p;
    if (!clube.empty()) {
        // The route reads "(d) seller -> buyer (d)": the club on either side.
        sql += " WHERE instr(tipo, ') ' || ? || ' -> ') > 0 OR instr(tipo, ' -> ' || ? || ' (') > 0";
        p = {clube, clube};
    }
    sql += ordem == Ordem_Transferencias::Jornada ? " ORDER BY jornada DESC, valor DESC, rowid" : " ORDER BY valor DESC, rowid";
    std::vector<Transferencia_Clubes> v;
    auto rs = base_aberta().OpenRecordset(sql, p);
    for (; !rs.Eof(); rs.MoveNext())
        v.push_back({rs["jornada"].int32(), rs["pos"].texto(), rs["nome"].texto(), rs["forca"].int32(),
                     rs["tipo"].texto(), rs["valor"].inteiro(), rs["idade"].int32()});
    return v;
}

// ---------------------------------------------------------------- histories

Historico_Treinador Ler_Historico_Treinador() {
    Historico_Treinador h;
    auto rs = base_aberta().OpenRecordset("SELECT * FROM historico_treinador ORDER BY ano DESC, (v+e+d) DESC, rowid");
    for (; !rs.Eof(); rs.MoveNext()) {
        Linha_Historico l;
        l.clube = rs["clube"].texto();
        l.celulas = {rs["ano"].texto(),    rs["clube"].texto(), rs["div"].texto(),   rs["Class"].texto(),
                     rs["pontos"].texto(), rs["v"].texto(),     rs["e"].texto(),     rs["d"].texto(),
                     rs["g_mar"].texto() + "-" + rs["g_suf"].texto(),
                     rs["taca"].texto(),   rs["div_1"].texto(), rs["div_2"].texto(), rs["div_3"].texto(),
                     formatar_dinheiro(rs["d_out"].inteiro()), formatar_dinheiro(rs["d_in"].inteiro())};
        h.linhas.push_back(std::move(l));
    }
    if (h.linhas.empty()) return h;
    auto s = [](const char* coluna) {
        return std::to_string(soma(std::string("SELECT sum(") + coluna + ") FROM historico_treinador"));
    };
    Linha_Historico t;
    t.celulas.assign(15, {});
    t.celulas[1] = "TOTAL";
    t.celulas[5] = s("v");
    t.celulas[6] = s("e");
    t.celulas[7] = s("d");
    t.celulas[9] = s("taca");
    t.celulas[10] = s("div_1");
    t.celulas[11] = s("div_2");
    t.celulas[12] = s("div_3");
    h.total = std::move(t);
    return h;
}

std::vector<Linha_Historico> Historico_Clubes() {
    std::vector<Linha_Historico> v;
    auto rs = base_aberta().OpenRecordset("SELECT * FROM historico_clube ORDER BY pontos_total, clube");
    for (int n = 1; !rs.Eof(); rs.MoveNext(), ++n) {
        Linha_Historico l;
        l.clube = rs["clube"].texto();
        l.celulas = {std::to_string(n),         l.clube,
                     rs["pontos_total"].texto(), rs["pontos"].texto(),
                     rs["v_total"].texto(),      rs["e_total"].texto(),
                     rs["d_total"].texto(),      rs["g_mar_total"].texto() + "-" + rs["g_suf_total"].texto(),
                     rs["taca"].texto(),         rs["div_1"].texto(),
                     rs["div_2"].texto(),        rs["div_3"].texto()};
        v.push_back(std::move(l));
    }
    return v;
}

std::vector<Linha_Historico> Historico_Clube_Epocas(const std::string& clube) {
    std::vector<Linha_Historico> v;
    auto rs = base_aberta().OpenRecordset("SELECT * FROM historico_equipas_epoca WHERE clube = ? ORDER BY ano DESC, rowid",
                                          {clube});
    for (; !rs.Eof(); rs.MoveNext()) {
        Linha_Historico l;
        l.clube = rs["clube"].texto();
        l.celulas = {rs["ano"].texto(),     l.clube,               rs["div"].texto(),     rs["clas"].texto(),
                     rs["pontos"].texto(),  rs["v_total"].texto(), rs["e_total"].texto(), rs["d_total"].texto(),
                     rs["g_mar"].texto(),   rs["taca"].texto(),    rs["div_1"].texto(),   rs["div_2"].texto(),
                     rs["div_3"].texto()};
        v.push_back(std::move(l));
    }
    return v;
}

Vencedores Ler_Vencedores() {
    Vencedores w;
    auto& d = base_aberta();
    if (d.valor("SELECT 1 FROM ultimos_venc WHERE Tipo = 'D1' LIMIT 1").nulo()) return w;
    auto linhas = [&](const char* tipo, auto linha) {
        std::vector<std::string> v;
        auto rs = d.OpenRecordset("SELECT Epoca, equipa, nome, num FROM ultimos_venc WHERE Tipo = ? ORDER BY Epoca DESC, rowid",
                                  {tipo});
        for (; !rs.Eof(); rs.MoveNext()) v.push_back(linha(rs));
        return v;
    };
    auto campeao = [](db::Recordset& rs) {
        return rs["Epoca"].texto() + " " + campo_fixo(rs["equipa"].texto(), 21) + rs["num"].texto() + " Pts";
    };
    const std::string golos = ingles() ? " Gols" : " Golos";
    auto marcador = [&golos](db::Recordset& rs) {
        return rs["Epoca"].texto() + " " + campo_fixo(rs["nome"].texto(), 20) + campo_fixo(rs["equipa"].texto(), 20) +
               rs["num"].texto() + golos;
    };
    for (int i = 0; i < 3; ++i) {
        w.campeoes[i] = linhas(Tipos_Vencedor::Campeao[i], campeao);
        w.marcadores[i] = linhas(Tipos_Vencedor::Marcador[i], marcador);
    }
    w.taca = linhas(Tipos_Vencedor::Taca, [](db::Recordset& rs) { return rs["Epoca"].texto() + " " + rs["equipa"].texto(); });
    auto titulos = [&](const char* coluna) {
        std::vector<std::string> v;
        auto rs = d.OpenRecordset(std::string("SELECT clube, ") + coluna + " AS n FROM historico_clube WHERE " + coluna +
                                  " <> 0 ORDER BY " + coluna + " DESC, clube");
        for (; !rs.Eof(); rs.MoveNext()) v.push_back(campo_fixo(rs["clube"].texto(), 21) + rs["n"].texto());
        return v;
    };
    w.titulos_div1 = titulos("div_1");
    w.titulos_taca = titulos("taca");
    return w;
}

} // namespace gv
