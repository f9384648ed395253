// The report header pictures shipped beside the program: they must be baseline JPEG files
// of the size the reports ask for, and their entropy-coded data must decode cleanly, since
// a broken picture shows as a hole in every report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

struct Componente {
    int id = 0, h = 1, v = 1, tq = 0;
    int td = 0, ta = 0;  // Huffman tables chosen by the scan
};

struct Huffman {
    std::map<std::pair<int, int>, int> simbolo;  // (length, code) -> value
};

struct Jpeg {
    int largura = 0, altura = 0, precisao = 0;
    int nSof0 = 0, nOutrosSof = 0, nDqt = 0, nDht = 0, nSos = 0;
    std::vector<Componente> comps;
    std::map<int, std::vector<int>> quant;  // zigzag order
    std::map<int, Huffman> huff;            // class*16 + id
    size_t inicioDados = 0;                 // first byte after the scan header
};

int U16(const std::string& d, size_t i) {
    return (static_cast<uint8_t>(d[i]) << 8) | static_cast<uint8_t>(d[i + 1]);
}
uint8_t B(const std::string& d, size_t i) { return static_cast<uint8_t>(d[i]); }

// Reads the marker segments up to the start of the scan; failures are reported through
// gtest and leave `inicioDados` at 0.
Jpeg LerCabecalhos(const std::string& d) {
    Jpeg j;
    if (d.size() < 4 || B(d, 0) != 0xFF || B(d, 1) != 0xD8) {
        ADD_FAILURE() << "sem SOI no início";
        return j;
    }
    size_t i = 2;
    while (i + 4 <= d.size()) {
        if (B(d, i) != 0xFF) {
            ADD_FAILURE() << "esperava um marcador na posição " << i;
            return j;
        }
        uint8_t m = B(d, i + 1);
        size_t len = size_t(U16(d, i + 2));
        if (len < 2 || i + 2 + len > d.size()) {
            ADD_FAILURE() << "segmento " << int(m) << " com tamanho inválido";
            return j;
        }
        std::string seg = d.substr(i + 4, len - 2);
        if (m == 0xC0) {
            ++j.nSof0;
            j.precisao = B(seg, 0);
            j.altura = U16(seg, 1);
            j.largura = U16(seg, 3);
            for (int k = 0; k < B(seg, 5); ++k) {
                Componente c;
                c.id = B(seg, size_t(6 + 3 * k));
                c.h = B(seg, size_t(7 + 3 * k)) >> 4;
                c.v = B(seg, size_t(7 + 3 * k)) & 15;
                c.tq = B(seg, size_t(8 + 3 * k));
                j.comps.push_back(c);
            }
        } else if (m >= 0xC1 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) {
            ++j.nOutrosSof;
        } else if (m == 0xDB) {
            ++j.nDqt;
            for (size_t k = 0; k + 65 <= seg.size(); k += 65) {
                EXPECT_EQ(B(seg, k) >> 4, 0) << "tabela de quantização de 16 bits";
                auto& t = j.quant[B(seg, k) & 15];
                for (size_t n = 0; n < 64; ++n) t.push_back(B(seg, k + 1 + n));
            }
        } else if (m == 0xC4) {
            ++j.nDht;
            for (size_t k = 0; k + 17 <= seg.size();) {
                Huffman& h = j.huff[B(seg, k)];
                size_t v = k + 17;
                int codigo = 0;
                for (int comp = 1; comp <= 16; ++comp) {
                    for (int n = 0; n < B(seg, k + size_t(comp)); ++n) {
                        if (v >= seg.size()) {
                            ADD_FAILURE() << "DHT truncada";
                            return j;
                        }
                        h.simbolo[{comp, codigo++}] = B(seg, v++);
                    }
                    codigo <<= 1;
                }
                k = v;
            }
        } else if (m == 0xDA) {
            ++j.nSos;
            for (int k = 0; k < B(seg, 0); ++k) {
                for (auto& c : j.comps) {
                    if (c.id == B(seg, size_t(1 + 2 * k))) {
                        c.td = B(seg, size_t(2 + 2 * k)) >> 4;
                        c.ta = B(seg, size_t(2 + 2 * k)) & 15;
                    }
                }
            }
            j.inicioDados = i + 2 + len;
            return j;
        }
        i += 2 + len;
    }
    ADD_FAILURE() << "sem SOS";
    return j;
}

// Bits of the scan with the stuffing bytes taken out; stops at the first marker.
class LeitorBits {
public:
    LeitorBits(const std::string& d, size_t inicio) {
        size_t i = inicio;
        while (i < d.size()) {
            if (B(d, i) == 0xFF && i + 1 < d.size() && B(d, i + 1) == 0x00) {
                bytes_.push_back(0xFF);
                i += 2;
            } else if (B(d, i) == 0xFF) {
                break;
            } else {
                bytes_.push_back(B(d, i++));
            }
        }
        fim_ = i;
    }
    size_t Fim() const { return fim_; }  // offset of the marker that ended the scan
    size_t Restantes() const { return bytes_.size() * 8 - pos_; }
    int Bit() {
        if (pos_ >= bytes_.size() * 8) throw std::runtime_error("dados acabaram no meio de um bloco");
        int b = (bytes_[pos_ >> 3] >> (7 - (pos_ & 7))) & 1;
        ++pos_;
        return b;
    }
    int Bits(int n) {
        int v = 0;
        for (int k = 0; k < n; ++k) v = (v << 1) | Bit();
        return v;
    }
    int Simbolo(const Huffman& h) {
        int codigo = 0;
        for (int comp = 1; comp <= 16; ++comp) {
            codigo = (codigo << 1) | Bit();
            auto it = h.simbolo.find({comp, codigo});
            if (it != h.simbolo.end()) return it->second;
        }
        throw std::runtime_error("código de Huffman inexistente");
    }
    // A value of category n: the high bit clear means a negative number.
    int Valor(int n) {
        if (n == 0) return 0;
        int v = Bits(n);
        return v >= (1 << (n - 1)) ? v : v - (1 << n) + 1;
    }

private:
    std::vector<uint8_t> bytes_;
    size_t pos_ = 0, fim_ = 0;
};

// Mean sample of each block (DC times its quantiser, over 8, plus the level shift).
struct Decodificado {
    int blocosPorLinha = 0;
    std::vector<std::vector<double>> media;  // per component, block row-major
    // Luminance detail of the top block row: first horizontal and first vertical cosine.
    double horizontalTopo = 0, verticalTopo = 0;
    size_t bitsSobrando = 0;
    bool sobraSoUns = false;
};

// Walks every block of every MCU through the Huffman tables, as a decoder would.
Decodificado Decodificar(const Jpeg& j, LeitorBits& bits) {
    Decodificado r;
    int hMax = 1, vMax = 1;
    for (const auto& c : j.comps) {
        hMax = std::max(hMax, c.h);
        vMax = std::max(vMax, c.v);
    }
    const int mcuX = (j.largura + 8 * hMax - 1) / (8 * hMax);
    const int mcuY = (j.altura + 8 * vMax - 1) / (8 * vMax);
    r.blocosPorLinha = mcuX * hMax;
    r.media.assign(j.comps.size(), std::vector<double>(size_t(mcuX * hMax * mcuY * vMax), 0.0));
    std::vector<int> pred(j.comps.size(), 0);
    for (int my = 0; my < mcuY; ++my) {
        for (int mx = 0; mx < mcuX; ++mx) {
            for (size_t ci = 0; ci < j.comps.size(); ++ci) {
                const Componente& c = j.comps[ci];
                const Huffman& dc = j.huff.at(c.td);
                const Huffman& ac = j.huff.at(16 + c.ta);
                for (int by = 0; by < c.v; ++by) {
                    for (int bx = 0; bx < c.h; ++bx) {
                        int cat = bits.Simbolo(dc);
                        if (cat > 11) throw std::runtime_error("categoria DC acima de 11");
                        pred[ci] += bits.Valor(cat);
                        int k = 1;
                        while (k < 64) {
                            int rs = bits.Simbolo(ac);
                            if (rs == 0x00) break;
                            if (rs == 0xF0) {
                                k += 16;
                                continue;
                            }
                            k += (rs >> 4);
                            if (k > 63) throw std::runtime_error("bloco com mais de 64 coeficientes");
                            int v = bits.Valor(rs & 15);
                            if (ci == 0 && my == 0 && by == 0 && (k == 1 || k == 2))
                                (k == 1 ? r.horizontalTopo : r.verticalTopo) +=
                                    std::abs(v * j.quant.at(c.tq)[size_t(k)]);
                            ++k;
                        }
                        if (k > 64) throw std::runtime_error("bloco com mais de 64 coeficientes");
                        size_t idx = size_t((my * c.v + by) * mcuX * c.h + mx * c.h + bx);
                        double dcq = pred[ci] * j.quant.at(c.tq)[0];
                        r.media[ci][idx] = dcq / 8 + (ci == 0 ? 128 : 0);
                    }
                }
            }
        }
    }
    r.bitsSobrando = bits.Restantes();
    r.sobraSoUns = r.bitsSobrando < 8 && bits.Bits(int(r.bitsSobrando)) == (1 << r.bitsSobrando) - 1;
    return r;
}

struct Figura {
    std::string caminho;
    int largura, altura;
    std::vector<std::pair<int, int>> letreiro;  // pixel rows [de, ate) holding lettering
};

std::vector<Figura> Figuras() {
    const std::string bin = std::string(VANDORO_BIN_DIR) + "/";
    return {{bin + "Cabecalho.jpg", 382, 83, {{8, 40}, {48, 64}}},
            {bin + "../Arquivos Comuns/Cabecalho_Quenda21.jpg", 550, 73, {{24, 45}}}};
}

// The example luminance table of the standard, as it is stored (zigzag order).
const int kLuminanciaZigueZague[64] = {
    16, 11, 12, 14, 12, 10,  16, 14,  13,  14,  18,  17,  16,  19,  24,  40,
    26, 24, 22, 22, 24, 49,  35, 37,  29,  40,  58,  51,  61,  60,  57,  51,
    56, 55, 64, 72, 92, 78,  64, 68,  87,  69,  55,  56,  80,  109, 81,  87,
    95, 98, 103, 104, 103, 62, 77, 113, 121, 112, 100, 120, 92,  101, 103, 99};

TEST(Cabecalho, QuantizacaoDaTabelaPadraoEmQualidade90) {
    for (const auto& f : Figuras()) {
        SCOPED_TRACE(f.caminho);
        Jpeg j = LerCabecalhos(LerArquivo(f.caminho));
        ASSERT_FALSE(j.comps.empty());
        ASSERT_TRUE(j.quant.count(j.comps[0].tq));
        const auto& t = j.quant.at(j.comps[0].tq);
        ASSERT_EQ(t.size(), 64u);
        // Quality 90 scales the table by 20 %: 16 -> 3, 11 -> 2, 99 -> 20.
        for (size_t k = 0; k < 64; ++k)
            EXPECT_EQ(t[k], std::max(1, (kLuminanciaZigueZague[k] * 20 + 50) / 100)) << "posição " << k;
    }
}

TEST(Cabecalho, BaselineNoTamanhoPedidoPelosRelatorios) {
    for (const auto& f : Figuras()) {
        SCOPED_TRACE(f.caminho);
        const std::string d = LerArquivo(f.caminho);
        ASSERT_GT(d.size(), 100u);
        EXPECT_EQ(B(d, d.size() - 2), 0xFF);
        EXPECT_EQ(B(d, d.size() - 1), 0xD9);
        Jpeg j = LerCabecalhos(d);
        ASSERT_NE(j.inicioDados, 0u);
        EXPECT_EQ(j.nSof0, 1);
        EXPECT_EQ(j.nOutrosSof, 0) << "só baseline: sem progressivo, aritmético ou 12 bits";
        EXPECT_EQ(j.precisao, 8);
        EXPECT_EQ(j.largura, f.largura);
        EXPECT_EQ(j.altura, f.altura);
        EXPECT_GE(j.nDqt, 1);
        EXPECT_GE(j.nDht, 1);
        EXPECT_EQ(j.nSos, 1);
        ASSERT_EQ(j.comps.size(), 3u);
        for (const auto& c : j.comps) {
            EXPECT_TRUE(j.quant.count(c.tq)) << "componente " << c.id << " sem tabela de quantização";
            EXPECT_TRUE(j.huff.count(c.td)) << "componente " << c.id << " sem tabela DC";
            EXPECT_TRUE(j.huff.count(16 + c.ta)) << "componente " << c.id << " sem tabela AC";
        }
        // Baseline allows two Huffman tables of each class and sampling factors 1 to 4.
        for (const auto& [chave, t] : j.huff) EXPECT_LT(chave & 15, 2);
        for (const auto& c : j.comps) {
            EXPECT_GE(c.h, 1);
            EXPECT_LE(c.h, 4);
            EXPECT_GE(c.v, 1);
            EXPECT_LE(c.v, 4);
        }
    }
}

TEST(Cabecalho, DadosDaVarreduraDecodificamAteOFim) {
    for (const auto& f : Figuras()) {
        SCOPED_TRACE(f.caminho);
        const std::string d = LerArquivo(f.caminho);
        Jpeg j = LerCabecalhos(d);
        ASSERT_NE(j.inicioDados, 0u);

        // Every 0xFF in the scan must be stuffed, so the first real marker after the scan
        // header is the EOI closing the file (no restart intervals are used).
        LeitorBits bits(d, j.inicioDados);
        EXPECT_EQ(bits.Fim(), d.size() - 2) << "a varredura deve terminar no EOI final";

        Decodificado r;
        try {
            r = Decodificar(j, bits);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        // Exactly the blocks of the picture, then at most 7 one-bits of padding.
        EXPECT_LT(r.bitsSobrando, 8u);
        EXPECT_TRUE(r.sobraSoUns);
    }
}

// The block means decoded above are real colours: the background is a light green and the
// dark lettering shows as clearly darker blocks.
TEST(Cabecalho, FundoVerdeClaroComLetreiroEscuro) {
    for (const auto& f : Figuras()) {
        SCOPED_TRACE(f.caminho);
        const std::string d = LerArquivo(f.caminho);
        Jpeg j = LerCabecalhos(d);
        ASSERT_NE(j.inicioDados, 0u);
        ASSERT_EQ(j.comps.size(), 3u);
        LeitorBits bits(d, j.inicioDados);
        Decodificado r;
        try {
            r = Decodificar(j, bits);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        for (const auto& c : j.comps) ASSERT_EQ(c.h * c.v, 1) << "esperava 4:4:4";
        // Top-left corner block: no lettering there.
        const double y = r.media[0][0], cb = r.media[1][0], cr = r.media[2][0];
        const double vermelho = y + 1.402 * cr, verde = y - 0.344136 * cb - 0.714136 * cr,
                     azul = y + 1.772 * cb;
        EXPECT_GT(y, 170.0);
        EXPECT_LT(y, 250.0);
        EXPECT_GT(verde, vermelho + 5);
        EXPECT_GT(verde, azul + 5);
        // Each block row crossed by lettering has a block much darker than the lightest of
        // its row; rows clear of it vary only with the level lines.
        for (int lin = 0; lin * 8 < f.altura; ++lin) {
            bool comLetra = false;
            for (const auto& [de, ate] : f.letreiro) comLetra |= lin * 8 < ate && lin * 8 + 8 > de;
            double menor = 255, maior = 0;
            for (int col = 0; col < r.blocosPorLinha; ++col) {
                double m = r.media[0][size_t(lin * r.blocosPorLinha + col)];
                menor = std::min(menor, m);
                maior = std::max(maior, m);
            }
            if (comLetra)
                EXPECT_LT(menor, maior - 40) << "linha de blocos " << lin << " sem letreiro";
            else
                EXPECT_GT(menor, maior - 25) << "linha de blocos " << lin << " deveria estar limpa";
        }
        // Decoded means stay inside the sample range (a missing level shift would not).
        for (size_t ci = 0; ci < 3; ++ci) {
            for (double m : r.media[ci]) {
                EXPECT_GE(m, ci == 0 ? 0.0 : -128.0);
                EXPECT_LE(m, ci == 0 ? 255.0 : 127.0);
            }
        }
        // The gradient and the level lines run across the band, so above the lettering the
        // picture changes far more downwards than sideways; coefficients put in the wrong
        // zigzag places would turn this around.
        EXPECT_GT(r.verticalTopo, 3 * r.horizontalTopo);
    }
}

}  // namespace
