// A small deterministic fuzzing driver for builds without libFuzzer: runs the
// seed corpus, then mutated inputs from a fixed random sequence, for a bounded
// number of iterations and seconds. A crashing input is saved to crash-<n>.
//
//   fuzz_X [--corpus DIR] [--iterations N] [--seconds S] [--seed N] [FILE...]
// Files given by name are run once each (to reproduce a crash).
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size);

namespace {

constexpr size_t kMaxInput = 4096;

// Bits of text that open new paths in the readers more often than random bytes.
const char* const kTokens[] = {"\r\n",
                               "\n",
                               "\\",
                               "\"",
                               "[",
                               "]",
                               "=",
                               "@",
                               "-",
                               ";",
                               " ",
                               "\t",
                               ",",
                               "REGEDIT4\r\n",
                               "Windows Registry Editor Version 5.00\r\n",
                               "\xFF\xFE",
                               "\xEF\xBB\xBF",
                               "[HKEY_CURRENT_USER\\",
                               "[-HKEY_LOCAL_MACHINE\\",
                               "dword:",
                               "hex:",
                               "hex(2):",
                               "hex(7):",
                               "ff,",
                               "00,",
                               ",\\\r\n  ",
                               "\"=\"",
                               "[Options]",
                               "BootGUI=",
                               "0x",
                               "C:\\",
                               "..\\",
                               "\\\\",
                               "\xB9\xA5\xBF\xAF",
                               "\0"};

const std::string* current = nullptr;

void saveCrash(int signal) {
  if (current) {
    char name[64];
    std::snprintf(name, sizeof name, "crash-%d",
                  static_cast<int>(std::hash<std::string>{}(*current) & 0x7fffffff));
    if (FILE* f = std::fopen(name, "wb")) {
      std::fwrite(current->data(), 1, current->size(), f);
      std::fclose(f);
      std::fprintf(stderr, "fuzz: input that failed saved as %s\n", name);
    }
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void runOne(const std::string& input) {
  current = &input;
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
  current = nullptr;
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class Mutator {
 public:
  explicit Mutator(std::uint64_t seed) : random_(seed) {}

  std::string mutate(std::string input, const std::vector<std::string>& corpus) {
    int steps = 1 + pick(4);
    for (int i = 0; i < steps; ++i) step(input, corpus);
    if (input.size() > kMaxInput) input.resize(kMaxInput);
    return input;
  }
  size_t pick(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

 private:
  void step(std::string& s, const std::vector<std::string>& corpus) {
    size_t at = pick(s.size() + 1);
    switch (pick(7)) {
      case 0:  // flip a bit
        if (!s.empty()) s[at % s.size()] ^= static_cast<char>(1 << pick(8));
        break;
      case 1:  // a random byte
        s.insert(at, 1, static_cast<char>(pick(256)));
        break;
      case 2:  // erase a stretch
        if (!s.empty()) s.erase(at % s.size(), 1 + pick(16));
        break;
      case 3: {  // a token
        const char* token = kTokens[pick(sizeof kTokens / sizeof kTokens[0])];
        s.insert(at, token, std::max<size_t>(1, std::strlen(token)));
        break;
      }
      case 4:  // repeat a stretch
        if (!s.empty()) {
          size_t from = pick(s.size());
          s.insert(at, s.substr(from, 1 + pick(32)));
        }
        break;
      case 5:  // splice in a piece of another input
        if (!corpus.empty()) {
          const std::string& other = corpus[pick(corpus.size())];
          if (!other.empty()) {
            size_t from = pick(other.size());
            s.insert(at, other.substr(from, 1 + pick(64)));
          }
        }
        break;
      default:  // overwrite a byte with a digit or letter
        if (!s.empty()) s[at % s.size()] = "0123456789abcdefABCDEFxX"[pick(24)];
        break;
    }
  }

  std::mt19937_64 random_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string corpusDir;
  long iterations = 10000, seconds = 5;
  std::uint64_t seed = 1;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "fuzz: %s needs a value\n", arg.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--corpus")
      corpusDir = value();
    else if (arg == "--iterations")
      iterations = std::atol(value().c_str());
    else if (arg == "--seconds")
      seconds = std::atol(value().c_str());
    else if (arg == "--seed")
      seed = std::strtoull(value().c_str(), nullptr, 10);
    else
      files.push_back(arg);
  }
  for (int s : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) std::signal(s, saveCrash);

  if (!files.empty()) {
    for (const auto& f : files) runOne(readFile(f));
    std::printf("fuzz: %zu files ran\n", files.size());
    return 0;
  }

  std::vector<std::string> corpus;
  if (!corpusDir.empty() && std::filesystem::is_directory(corpusDir)) {
    std::vector<std::filesystem::path> paths;
    for (const auto& e : std::filesystem::directory_iterator(corpusDir))
      if (e.is_regular_file()) paths.push_back(e.path());
    std::sort(paths.begin(), paths.end());
    for (const auto& p : paths) corpus.push_back(readFile(p));
  }
  runOne("");
  for (const auto& input : corpus) runOne(input);

  Mutator mutator(seed);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  long done = 0;
  for (; done < iterations; ++done) {
    if (done % 256 == 0 && std::chrono::steady_clock::now() > deadline) break;
    std::string base = corpus.empty() ? std::string() : corpus[mutator.pick(corpus.size())];
    std::string input = mutator.mutate(std::move(base), corpus);
    runOne(input);
    // Inputs that grow the pool keep the search moving away from the seeds.
    if (done % 64 == 0 && corpus.size() < 512) corpus.push_back(std::move(input));
  }
  std::printf("fuzz: %zu seeds and %ld mutated inputs ran\n", corpus.size(), done);
  return 0;
}
