// Speed of the stem picture: a full redraw of the bundled tree with the longest stem, painted
// offscreen into a 1024 by 692 image as the main window paints it. Run:
// build/bench/varnok_paint_bench

#include "app/FigurePainter.h"
#include "game/Bucking.h"
#include "game/StemFigures.h"
#include "game/StemView.h"
#include "market/Market.h"
#include "tree/ShapeFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace varnok {
namespace {

struct Picture {
    StemView View;
    GameState Game;
};

// The bundled tree with the longest stem, with a cut every 16 ft, under the default market.
const Picture& LongestTree() {
    static const Picture picture = [] {
        const DataFolder data(VARNOK_BUNDLED_DATA_DIR);
        const Market market = LoadMarket(data, "Appalachian Doyle");
        int longest = 1;
        int length = 0;
        for (int n = 1; n <= 150; ++n) {
            const int top = ReadCrossSections(data.ShapeFile(n)).back().Position;
            if (top > length) {
                longest = n;
                length = top;
            }
        }
        Picture p{LoadStemView(data, longest, market.Filter, 1024, 692), GameState{}};
        p.Game.StartTree(longest, p.View);
        while (p.Game.AddLength(16, 8)) {
        }
        return p;
    }();
    return picture;
}

void BM_PaintStemLargestBundledTree(benchmark::State& state) {
    const Picture& picture = LongestTree();
    QImage image(1024, 692, QImage::Format_RGB32);
    const PictureMapping mapping =
        FitStem(picture.View, image.width(), 24.0, picture.View.CentreY, image.height() * 0.5);
    const CutList& cuts = picture.Game.Cuts();
    for (auto _ : state) {
        // What a redraw does: the figures worked out afresh, then painted.
        const std::vector<Figure> figures =
            StemFigures(picture.View, 1, StemPicture::MainWindow, cuts.UsedPixels(),
                        cuts.UsedInches());
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::black);
        app::PaintFigures(painter, figures, mapping);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["inches"] = picture.View.StemLength;
}
BENCHMARK(BM_PaintStemLargestBundledTree)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace varnok

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
