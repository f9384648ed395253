#pragma once
// Cell values typed in the viewer: checked against the cell type, kept apart from the image
// (never in its file) until the image is saved, and written with it then.
#include <map>
#include <string>

class TImagem;

// Cell values typed in the viewer and not saved yet, by linear index (col + row * Columns).
// They stay here, never in the image's file, until the image is saved.
class TEdicoesCelulas {
public:
    void Define(long long indice, float valor) { valores_[indice] = valor; }
    bool Vazia() const { return valores_.empty(); }
    void Limpa() { valores_.clear(); }
    int Quantidade() const { return static_cast<int>(valores_.size()); }
    // The edited value of a cell, or false.
    bool Valor(long long indice, float& v) const;
    // Puts the edits of one row over the values just read from the image.
    void AplicaNaLinha(int linha, int colunas, float* buf) const;

private:
    std::map<long long, float> valores_;
};

// The value typed for a cell of 'img'. Text that is not a number, and a number outside the
// cell type (byte 0..255, integer -32768..32767, real a finite 32-bit value) raise
// "Valor inválido para atributo". Byte and integer cells take the whole number.
float ValorAtributo(const TImagem& img, const std::string& texto);

// Writes 'img' with the edits over its cells to 'nome' (format by extension), through a
// copy in memory: the image and its own file stay as they are until the write succeeds.
void GravaComEdicoes(const TImagem& img, const TEdicoesCelulas& edicoes, const std::string& nome);
