#pragma once
// Pixel counts for comparing two drawings of the same thing: what a thinned or cached drawing
// must keep of the stroke it stands for.
#include <QImage>
#include <cstdlib>

// Pixels of 'a' at (x + dx, y) and of 'b' at (x, y), over b's columns from x0 to x1, that differ
// by more than 'limiar' in a channel.
inline int Diferentes(const QImage& a, const QImage& b, int dx, int x0, int x1, int limiar) {
    int n = 0;
    for (int y = 0; y < b.height(); ++y)
        for (int x = x0; x < x1; ++x) {
            const QRgb p = a.pixel(x + dx, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > limiar || std::abs(qGreen(p) - qGreen(q)) > limiar ||
                std::abs(qBlue(p) - qBlue(q)) > limiar)
                ++n;
        }
    return n;
}

// Ink of 'a' (grey under 128), over columns x0 to x1, with no ink of 'b' (grey under 200) within
// a pixel of it: where one drawing has a stroke the other lacks.
inline int SemPar(const QImage& a, const QImage& b, int x0, int x1) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = x0; x < x1; ++x) {
            if (qGray(a.pixel(x, y)) >= 128) continue;
            bool par = false;
            for (int dy = -1; dy <= 1 && !par; ++dy)
                for (int dx = -1; dx <= 1 && !par; ++dx)
                    par = b.valid(x + dx, y + dy) && qGray(b.pixel(x + dx, y + dy)) < 200;
            n += !par;
        }
    return n;
}

// Dark pixels (grey under 200).
inline int Escuros(const QImage& a) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += qGray(a.pixel(x, y)) < 200;
    return n;
}

