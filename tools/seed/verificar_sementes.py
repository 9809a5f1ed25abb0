#!/usr/bin/env python3
"""Checks every rule of the seed data text in data/seed/ and prints a summary.

    python3 tools/seed/verificar_sementes.py [seed folder]

Exits 1 and lists the faults when any rule is broken.  Independent of the
generator: it reads only the files (it borrows the generator's list of famous
names, to make sure none slipped through).
"""

import collections
import os
import sys

AQUI = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True   # leave no __pycache__ beside the scripts
sys.path.insert(0, AQUI)
from gerar_sementes import FAMOSOS, NOMES_DE_CLUBES_REAIS  # noqa: E402

PASTA = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(AQUI, "..", "..", "data", "seed"))
CONJUNTOS = ["pt", "br", "en", "es", "it", "wd"]
PROIBIDOS = set("$%*)(|=><\\/'#&;,")
FAIXA_FORCA = {1: (50, 89), 2: (25, 64), 3: (10, 49)}
FAIXA_ESTADIO = {1: (30000, 100000), 2: (18000, 45000), 3: (10001, 25000)}
POSICOES = {"gk", "df", "md", "av"}
MINIMO_POS = {"gk": 2, "df": 5, "md": 4, "av": 4}

falhas = []


def falha(msg):
    falhas.append(msg)


# ----------------------------------------------------------------- name key
# The same folding as the game's chave_nome: ASCII upper to lower, Latin-1 and
# Latin Extended-A letters to their base letters, anything else unchanged.

_LATIN1 = ["a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
           "d", "n", "o", "o", "o", "o", "o", None, "o", "u", "u", "u", "u", "y", "th", "ss",
           "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
           "d", "n", "o", "o", "o", "o", "o", None, "o", "u", "u", "u", "u", "y", "th", "y"]
_EXT_A = ("aaaaaa" "cccccccc" "dddd" "eeeeeeeeee" "gggggggg" "hhhh" "iiiiiiiiii" "??"
          "jj" "kkk" "llllllllll" "nnnnnnnnn" "oooooo" "??" "rrrrrr" "ssssssss" "tttttt"
          "uuuuuuuuuuuu" "ww" "yyy" "zzzzzz" "s")
assert len(_EXT_A) == 128


def chave(s):
    out = []
    for ch in s:
        c = ord(ch)
        if c < 0x80:
            out.append(ch.lower() if "A" <= ch <= "Z" else ch)
        elif 0xC0 <= c <= 0xFF and _LATIN1[c - 0xC0] is not None:
            out.append(_LATIN1[c - 0xC0])
        elif 0x100 <= c <= 0x17F:
            out.append("ij" if c in (0x132, 0x133) else "oe" if c in (0x152, 0x153) else _EXT_A[c - 0x100])
        else:
            out.append(ch)
    return "".join(out)


def verificar_nome(nome, maximo, onde):
    """Length in characters, forbidden characters, spaces, letters the game folds."""
    if not nome:
        falha(f"{onde}: nome vazio")
        return
    if len(nome) > maximo:
        falha(f"{onde}: '{nome}' tem {len(nome)} caracteres (máx. {maximo})")
    if set(nome) & PROIBIDOS:
        falha(f"{onde}: '{nome}' tem caracteres proibidos {sorted(set(nome) & PROIBIDOS)}")
    if nome != nome.strip() or "  " in nome:
        falha(f"{onde}: '{nome}' tem espaços a mais")
    for ch in nome:
        c = ord(ch)
        if c < 0x20 or c == 0x7F or (0x80 <= c < 0xC0) or c in (0xD7, 0xF7) or c >= 0x180:
            falha(f"{onde}: '{nome}' tem o carácter U+{c:04X}, que a comparação de nomes não dobra")
            break
    if chave(nome) in FAMOSOS:
        falha(f"{onde}: '{nome}' é o nome de alguém conhecido")


# ----------------------------------------------------------------- reading

def ler(nome, cabecalho):
    caminho = os.path.join(PASTA, nome)
    if not os.path.isfile(caminho):
        falha(f"{nome}: não existe")
        return []
    dados = open(caminho, "rb").read()
    if dados.startswith(b"\xef\xbb\xbf"):
        falha(f"{nome}: começa com BOM")
    if b"\r" in dados:
        falha(f"{nome}: tem CR (só LF)")
    if not dados.endswith(b"\n"):
        falha(f"{nome}: a última linha não acaba em LF")
    try:
        texto = dados.decode("utf-8")
    except UnicodeDecodeError as e:
        falha(f"{nome}: não é UTF-8 ({e})")
        return []
    linhas = texto.split("\n")
    if linhas and linhas[-1] == "":
        linhas.pop()
    if not linhas or linhas[0].split("\t") != cabecalho:
        falha(f"{nome}: cabeçalho {linhas[0].split(chr(9)) if linhas else None} != {cabecalho}")
        return []
    registos = []
    for i, linha in enumerate(linhas[1:], start=2):
        campos = linha.split("\t")
        if len(campos) != len(cabecalho):
            falha(f"{nome}:{i}: {len(campos)} campos, esperava {len(cabecalho)}")
            continue
        if any(c == "" for c in campos):
            falha(f"{nome}:{i}: campo vazio")
        registos.append(campos)
    return registos


def inteiro(valor, onde):
    if not valor.lstrip("-").isdigit() or valor != str(int(valor)):
        falha(f"{onde}: '{valor}' não é um inteiro")
        return None
    return int(valor)


def quebras(sequencia):
    return sum(1 for a, b in zip(sequencia, sequencia[1:]) if a == b)


# ----------------------------------------------------------------- club sets

def verificar_conjunto(cc, resumo):
    nome_f = f"clubes_{cc}.tsv"
    clubes = ler(nome_f, ["clube", "div", "cap_estadio"])
    if len(clubes) != 54:
        falha(f"{nome_f}: {len(clubes)} clubes, esperava 54")
    div_de = {}
    chaves = {}
    lugares = collections.defaultdict(list)
    for i, (clube, div_s, cap_s) in enumerate(clubes, start=2):
        onde = f"{nome_f}:{i}"
        verificar_nome(clube, 20, onde)
        palavras = set(chave(clube).replace("-", " ").split())
        for real in NOMES_DE_CLUBES_REAIS:
            if chave(real) in palavras:
                falha(f"{onde}: '{clube}' lembra o clube real {real}")
        k = chave(clube)
        if k in chaves:
            falha(f"{onde}: '{clube}' repete '{chaves[k]}' (sem contar maiúsculas e acentos)")
        chaves[k] = clube
        div = inteiro(div_s, onde)
        cap = inteiro(cap_s, onde)
        if div not in (1, 2, 3):
            falha(f"{onde}: divisão {div_s}")
            continue
        div_de[clube] = div
        if cap is None:
            continue
        if not 10001 <= cap <= 100000:
            falha(f"{onde}: estádio {cap} fora de 10001-100000")
        lo, hi = FAIXA_ESTADIO[div]
        if not lo <= cap <= hi:
            falha(f"{onde}: estádio {cap} fora de {lo}-{hi} da divisão {div}")
        lugares[div].append(cap)
    for div in (1, 2, 3):
        n = sum(1 for d in div_de.values() if d == div)
        if n != 18:
            falha(f"{nome_f}: divisão {div} com {n} clubes, esperava 18")
    medias = {d: sum(v) / len(v) for d, v in lugares.items() if v}
    if len(medias) == 3 and not (medias[1] > 1.3 * medias[2] and medias[2] > 1.3 * medias[3]):
        falha(f"{nome_f}: a média dos estádios não desce claramente por divisão: {medias}")

    # Cup: the 54 league clubs, spelt the same, plus 10 from outside.
    nome_t = f"Clubes_Taca_{cc}.tsv"
    taca = [r[0] for r in ler(nome_t, ["clube"])]
    if len(taca) != 64:
        falha(f"{nome_t}: {len(taca)} clubes, esperava 64")
    vistos = {}
    de_fora = []
    for i, clube in enumerate(taca, start=2):
        onde = f"{nome_t}:{i}"
        verificar_nome(clube, 20, onde)
        k = chave(clube)
        if k in vistos:
            falha(f"{onde}: '{clube}' repete '{vistos[k]}'")
        vistos[k] = clube
        if clube not in div_de:
            if k in chaves:
                falha(f"{onde}: '{clube}' é '{chaves[k]}' do campeonato escrito de outra maneira")
            de_fora.append(clube)
    for clube in div_de:
        if clube not in taca:
            falha(f"{nome_t}: falta o clube do campeonato '{clube}'")
    if len(de_fora) != 10:
        falha(f"{nome_t}: {len(de_fora)} clubes de fora do campeonato, esperava 10")

    # Players.
    nome_j = f"jogadores_{cc}.tsv"
    jogadores = ler(nome_j, ["nome", "equipa", "pos", "forca", "idade", "contrato"])
    por_clube = collections.defaultdict(list)
    nome_pos = {}
    nomes = {}
    idade_comum = 0
    forca_div = collections.defaultdict(list)
    for i, (nome, equipa, pos, f_s, i_s, c_s) in enumerate(jogadores, start=2):
        onde = f"{nome_j}:{i}"
        verificar_nome(nome, 20, onde)
        if equipa not in div_de:
            falha(f"{onde}: equipa '{equipa}' não é um clube de {nome_f}")
            continue
        if pos not in POSICOES:
            falha(f"{onde}: posição '{pos}'")
        k = (chave(nome), pos)
        if k in nome_pos:
            falha(f"{onde}: '{nome}' {pos} repete a linha {nome_pos[k]}")
        nome_pos[k] = i
        if chave(nome) in nomes:
            falha(f"{onde}: o nome '{nome}' repete a linha {nomes[chave(nome)]}")
        nomes[chave(nome)] = i
        forca, idade, contrato = inteiro(f_s, onde), inteiro(i_s, onde), inteiro(c_s, onde)
        if None in (forca, idade, contrato):
            continue
        div = div_de[equipa]
        lo, hi = FAIXA_FORCA[div]
        if not lo <= forca <= hi:
            falha(f"{onde}: força {forca} fora de {lo}-{hi} (divisão {div})")
        if not 18 <= idade <= 37:
            falha(f"{onde}: idade {idade}")
        if not 1 <= contrato <= 5:
            falha(f"{onde}: contrato {contrato}")
        idade_comum += 19 <= idade <= 32
        forca_div[div].append(forca)
        por_clube[equipa].append((pos, forca))
    for clube in div_de:
        plantel = por_clube.get(clube, [])
        if not 19 <= len(plantel) <= 22:
            falha(f"{nome_j}: '{clube}' tem {len(plantel)} jogadores (19-22)")
        conta = collections.Counter(p for p, _ in plantel)
        for pos, minimo in MINIMO_POS.items():
            if conta[pos] < minimo:
                falha(f"{nome_j}: '{clube}' tem {conta[pos]} {pos} (mín. {minimo})")
    for div, (lo, hi) in FAIXA_FORCA.items():
        v = forca_div.get(div, [])
        if v and (min(v) != lo or max(v) != hi):
            falha(f"{nome_j}: divisão {div} usa forças {min(v)}-{max(v)}, não a faixa toda {lo}-{hi}")
    medias_f = {d: sum(v) / len(v) for d, v in forca_div.items() if v}
    if len(medias_f) == 3 and not medias_f[1] > medias_f[2] > medias_f[3]:
        falha(f"{nome_j}: a força média não desce por divisão {medias_f}")
    total = len(jogadores)
    if total and idade_comum < 0.85 * total:
        falha(f"{nome_j}: só {idade_comum}/{total} jogadores com 19-32 anos (mín. 85%)")
    resumo.append((cc, total, len(set(nomes)), idade_comum / total if total else 0,
                   {d: round(m, 1) for d, m in sorted(medias_f.items())},
                   {d: round(sum(v) / len(v)) for d, v in sorted(lugares.items())}))
    return set(nomes)


# ----------------------------------------------------------------- fixture template

def verificar_jor_aux():
    linhas = ler("jor_aux.tsv", ["jor", "casa", "fora"])
    if len(linhas) != 306:
        falha(f"jor_aux.tsv: {len(linhas)} linhas, esperava 306")
    jornadas = collections.defaultdict(list)
    for i, (j_s, c_s, f_s) in enumerate(linhas, start=2):
        j, c, f = (inteiro(x, f"jor_aux.tsv:{i}") for x in (j_s, c_s, f_s))
        if None in (j, c, f):
            continue
        if not (1 <= j <= 34 and 1 <= c <= 18 and 1 <= f <= 18 and c != f):
            falha(f"jor_aux.tsv:{i}: jogo inválido {j} {c} {f}")
            continue
        jornadas[j].append((c, f))
    pares = collections.Counter()
    sequencia = collections.defaultdict(str)
    for j in range(1, 35):
        jogos = jornadas.get(j, [])
        if len(jogos) != 9:
            falha(f"jor_aux.tsv: jornada {j} com {len(jogos)} jogos")
        presentes = collections.Counter(s for jogo in jogos for s in jogo)
        if sorted(presentes) != list(range(1, 19)) or any(v != 1 for v in presentes.values()):
            falha(f"jor_aux.tsv: na jornada {j} nem todas as posições jogam uma vez")
        for c, f in jogos:
            pares[(c, f)] += 1
            sequencia[c] += "C"
            sequencia[f] += "F"
    todos = [(a, b) for a in range(1, 19) for b in range(1, 19) if a != b]
    for p in todos:
        if pares[p] != 1:
            falha(f"jor_aux.tsv: o jogo {p[0]}-{p[1]} aparece {pares[p]} vezes")
    for j in range(1, 18):
        if sorted((f, c) for c, f in jornadas.get(j, [])) != sorted(jornadas.get(j + 17, [])):
            falha(f"jor_aux.tsv: a jornada {j + 17} não é a {j} com casa e fora trocadas")
    por_posicao = {s: quebras(sequencia[s]) for s in range(1, 19)}
    for s, seq in sequencia.items():
        if seq.count("C") != 17:
            falha(f"jor_aux.tsv: a posição {s} joga {seq.count('C')} vezes em casa")
        if "CCC" in seq or "FFF" in seq:
            falha(f"jor_aux.tsv: a posição {s} joga três seguidas no mesmo lado: {seq}")
    # A mirrored double round robin of n slots needs at least 3n-6 breaks
    # (n-2 in each half plus those across the turn); the template has no more.
    if sum(por_posicao.values()) != 3 * 18 - 6:
        falha(f"jor_aux.tsv: {sum(por_posicao.values())} quebras, o mínimo é {3 * 18 - 6}")
    return por_posicao, sequencia


# ----------------------------------------------------------------- fixed tables

def verificar_arbitros():
    trios = ler("arbitros.tsv", ["ap", "aux1", "aux2"])
    if not 25 <= len(trios) <= 40:
        falha(f"arbitros.tsv: {len(trios)} trios (cerca de 30)")
    vistos = {}
    for i, trio in enumerate(trios, start=2):
        for nome in trio:
            verificar_nome(nome, 30, f"arbitros.tsv:{i}")
            if chave(nome) in vistos:
                falha(f"arbitros.tsv:{i}: '{nome}' repete a linha {vistos[chave(nome)]}")
            vistos[chave(nome)] = i
    return len(trios)


def verificar_pool(nomes_dos_conjuntos):
    nomes = [r[0] for r in ler("jogadores_all.tsv", ["nome_1"])]
    if len(nomes) < 500:
        falha(f"jogadores_all.tsv: {len(nomes)} nomes (mín. 500)")
    vistos = {}
    for i, nome in enumerate(nomes, start=2):
        verificar_nome(nome, 20, f"jogadores_all.tsv:{i}")
        if chave(nome) in vistos:
            falha(f"jogadores_all.tsv:{i}: '{nome}' repete a linha {vistos[chave(nome)]}")
        vistos[chave(nome)] = i
    em_uso = sum(1 for n in nomes if chave(n) in nomes_dos_conjuntos)
    return len(nomes), em_uso


# ----------------------------------------------------------------- main

def main():
    esperados = ({f"{p}_{cc}.tsv" for cc in CONJUNTOS for p in ("clubes", "Clubes_Taca", "jogadores")}
                 | {"jor_aux.tsv", "arbitros.tsv", "jogadores_all.tsv"})
    presentes = {f for f in os.listdir(PASTA) if f.endswith(".tsv")}
    for f in sorted(presentes - esperados):
        falha(f"{f}: ficheiro a mais na pasta (o construtor carrega todos os .tsv)")

    resumo = []
    nomes_dos_conjuntos = set()
    for cc in CONJUNTOS:
        nomes_dos_conjuntos |= verificar_conjunto(cc, resumo)
    por_posicao, sequencia = verificar_jor_aux()
    trios = verificar_arbitros()
    n_pool, em_uso = verificar_pool(nomes_dos_conjuntos)

    print("Conjuntos de clubes:")
    for cc, total, distintos, comum, medias_f, medias_e in resumo:
        print(f"  {cc}: {total} jogadores ({distintos} nomes distintos), {comum:.1%} com 19-32 anos,"
              f" força média por divisão {medias_f}, estádio médio {medias_e}")
    print("jor_aux (C = casa, F = fora; quebras = dois jogos seguidos do mesmo lado):")
    for s in range(1, 19):
        print(f"  posição {s:2d}: {por_posicao[s]} quebras  {sequencia[s]}")
    print(f"  total: {sum(por_posicao.values())} quebras (mínimo para 18 posições em espelho: {3 * 18 - 6})")
    print(f"arbitros: {trios} trios")
    print(f"jogadores_all: {n_pool} nomes ({em_uso} também usados nos conjuntos)")

    if falhas:
        print(f"\n{len(falhas)} FALHAS:")
        for f in falhas[:200]:
            print("  " + f)
        return 1
    print("\nTodas as regras verificadas: OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
