#pragma once
// Cell type: byte, signed 16-bit or 32-bit real; headers spell it 'B', 'I' or 'R'.
enum class TTipoCelula : char { Byte = 'B', Inteiro = 'I', Real = 'R' };
// The cell type a header's letter names (either case); any other letter raises EVandoro.
TTipoCelula TipoCelulaDeLetra(char letra);
