// Draws Paper.jpg, the background picture shipped beside the programs: a plain light paper texture.
// Soft cloudy shading from periodic value noise plus a fine grain, all from a fixed seed, so every
// build makes the same picture. The noise wraps around the edges, so the page tiles without seams.
//
//   papyrant_make_paper OUTPUT.jpg

#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kSize = 256;
constexpr uint32_t kSeed = 20261211;

// A square lattice of random values in [0, 1) that wraps around, sampled with smooth interpolation.
class PeriodicNoise {
public:
    PeriodicNoise(int cells, std::mt19937& random) : m_cells(cells), m_values(size_t(cells) * size_t(cells)) {
        for (double& value : m_values)
            value = double(random()) / 4294967296.0;
    }

    double at(double x, double y) const {
        const double cx = x * m_cells / kSize, cy = y * m_cells / kSize;
        const int x0 = int(std::floor(cx)), y0 = int(std::floor(cy));
        const double fx = smooth(cx - x0), fy = smooth(cy - y0);
        const double top = lerp(value(x0, y0), value(x0 + 1, y0), fx);
        const double bottom = lerp(value(x0, y0 + 1), value(x0 + 1, y0 + 1), fx);
        return lerp(top, bottom, fy);
    }

private:
    static double smooth(double t) { return t * t * (3 - 2 * t); }
    static double lerp(double a, double b, double t) { return a + (b - a) * t; }
    double value(int x, int y) const {
        x = ((x % m_cells) + m_cells) % m_cells;
        y = ((y % m_cells) + m_cells) % m_cells;
        return m_values[size_t(y) * size_t(m_cells) + size_t(x)];
    }

    int m_cells;
    std::vector<double> m_values;
};

int clampByte(double value) {
    return value < 0 ? 0 : value > 255 ? 255 : int(std::lround(value));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }

    std::mt19937 random(kSeed);
    // Octaves from broad clouds to small flecks; the broad ones weigh most.
    const PeriodicNoise octaves[] = {PeriodicNoise(4, random), PeriodicNoise(8, random), PeriodicNoise(16, random),
                                     PeriodicNoise(32, random), PeriodicNoise(64, random)};
    const double weights[] = {0.40, 0.25, 0.15, 0.12, 0.08};

    QImage image(kSize, kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kSize; ++x) {
            double cloud = 0;
            for (size_t i = 0; i < std::size(octaves); ++i)
                cloud += weights[i] * octaves[i].at(x, y);
            const double grain = double(random()) / 4294967296.0 - 0.5;
            // A warm off-white; clouds and grain darken or lighten it by a few levels only, so text on
            // the page stays easy to read.
            const double shade = (cloud - 0.5) * 14 + grain * 5;
            line[x] = qRgb(clampByte(246 + shade), clampByte(240 + shade), clampByte(226 + shade * 1.1));
        }
    }

    QImageWriter writer(QString::fromLocal8Bit(argv[1]), "jpeg");
    writer.setQuality(90);
    if (!writer.write(image)) {
        // Most often the JPEG image format plugin of Qt is missing.
        std::fprintf(stderr, "papyrant_make_paper: cannot write %s: %s\n", argv[1],
                     writer.errorString().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
