// The engine's speed on a real book: GOPROCESS in-process through a quiet host, pictures on, into a
// temporary folder. Reports the book's bytes per second.
//
//   papyrant-bench [--book=PATH] [Google Benchmark options]
//
// PAPYRANT_BENCH_BOOK (the environment variable) also names the book; the default is the corpus book
// hpmorru__hpmor_ru.fb2 (6.9 MB).

#include "app/ConverterTexts.h"
#include "engine/ConversionRun.h"
#include "engine/RunHost.h"
#include "lang/Lang.h"
#include "platform/MessageBox.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdlib.h>
#include <string>

namespace {

std::string g_book = PAPYRANT_BENCH_BOOK;

// Answers Yes to every question; prints only errors (a failed run then says why).
class YesPresenter final : public platform::MessagePresenter {
public:
    platform::MessageButton present(const platform::MessageBoxRequest& request) override {
        if (request.icon == platform::MessageIcon::Error) std::fprintf(stderr, "%s\n", request.text.c_str());
        for (platform::MessageButton button : request.buttons)
            if (button == platform::MessageButton::Yes) return button;
        return request.defaultButton;
    }
};

// A host with no window: fixed options and names, progress and captions ignored, no stop request.
class QuietHost final : public RunHost {
public:
    QuietHost(ConversionOptions options, std::string folder) : m_options(options), m_folder(std::move(folder)) {}

    ConversionOptions options() override { return m_options; }
    std::string COUTDIR() override { return m_folder; }
    std::string CNAMEFILE() override { return "book"; }
    bool LGO() override { return m_go; }
    void setLGO(bool value) override { m_go = value; }
    bool LSTOP() override { return false; }
    void setLSTOP(bool) override {}
    void ENABLECONTROL() override {}
    void setProgressRange(Progress, uint32_t) override {}
    void setProgressPosition(Progress bar, uint32_t position) override {
        if (bar == Progress::All) benchmark::DoNotOptimize(position);
    }
    void setStageCaption(const std::string&) override {}
    void setStartButtonCaption(const std::string&) override {}
    void setBackgroundChecked(bool) override {}
    void processPendingEvents() override {}

private:
    ConversionOptions m_options;
    std::string m_folder;
    bool m_go = true;
};

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "papyrant-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string folder() const { return m_path + "/"; }
    bool valid() const { return !m_path.empty(); }

private:
    std::string m_path;
};

// fresh: every run writes into an empty folder, as a first conversion does (removing the previous
// run's files is not timed); otherwise every run replaces the previous run's files.
void convert(benchmark::State& state, ConversionOptions options, bool fresh = true) {
    std::error_code error;
    const auto bookSize = std::filesystem::file_size(g_book, error);
    if (error) {
        state.SkipWithError(("cannot read the book " + g_book).c_str());
        return;
    }
    TempFolder temp;
    if (!temp.valid()) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    const std::string folder = temp.folder() + "out/";
    std::filesystem::create_directory(folder, error);
    options.lOverwrite = !fresh; // the start question is answered Yes
    QuietHost host(options, folder);
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            std::filesystem::remove_all(folder, error);
            std::filesystem::create_directory(folder, error);
            state.ResumeTiming();
        }
        if (!GOPROCESS(host, g_book, folder + "book.htm")) {
            state.SkipWithError("the conversion failed");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bookSize));
    const double megabytes = static_cast<double>(state.iterations()) * static_cast<double>(bookSize) / 1e6;
    state.counters["MB/s"] = benchmark::Counter(megabytes, benchmark::Counter::kIsRate);
}

void BM_ConvertWithPictures(benchmark::State& state) {
    ConversionOptions options;
    options.lConvertBinaries = true;
    convert(state, options);
}

void BM_ConvertReplacingFiles(benchmark::State& state) {
    ConversionOptions options;
    options.lConvertBinaries = true;
    convert(state, options, false);
}

void BM_ConvertContentsAtStartAndLog(benchmark::State& state) {
    ConversionOptions options;
    options.lConvertBinaries = true;
    options.lContents = true;
    options.nContentsLayout = 1;
    options.lLog = true;
    convert(state, options);
}

BENCHMARK(BM_ConvertWithPictures)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ConvertReplacingFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ConvertContentsAtStartAndLog)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (const char* book = std::getenv("PAPYRANT_BENCH_BOOK")) g_book = book;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--book=", 7) == 0)
            g_book = argv[i] + 7;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;

    Orvane();
    DEFAULTLANG();
    YesPresenter presenter;
    platform::setMessagePresenter(&presenter);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::setMessagePresenter(nullptr);
    return 0;
}
