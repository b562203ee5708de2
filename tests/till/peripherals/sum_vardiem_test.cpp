// Amounts to word tokens, and the words played: files, pauses and the missing ones.
#include "sum_vardiem.h"

#include "test_environment.h"

#include <QDir>
#include <QFile>

#include <fstream>
#include <vector>

namespace {

using testsupport::TestEnvironment;

QStringList said(int kind, double amount) {
    QStringList tokens;
    for (const QString& t : FrazesTokeni(kind, SummasFraze(amount))) tokens << t.trimmed();
    return tokens;
}

TEST(SumVardiem, AmountsToTokens) {
    struct Case {
        int kind;
        double amount;
        QStringList tokens;
    } cases[] = {
        {1, 1234.56, {"Summa", "viens", "tukstotis", "divi_simti", "trisdesmit", "cetri", "lati", "piecdesmit", "sesi", "santimi"}},
        {1, 1.00, {"Summa", "viens", "lats", "nulle", "santimi"}},
        {2, 21.01, {"Sanemts", "divdesmit", "viens", "lats", "viens", "santims"}},
        {1, 11.11, {"Summa", "vienpadsmit", "lati", "vienpadsmit", "santimi"}},
        {0, 1000, {"viens", "tukstotis", "lati", "nulle", "santimi"}},
        {0, 2000, {"divi", "tukstosi", "lati", "nulle", "santimi"}},
        {0, 11000, {"vienpadsmit", "tukstosi", "lati", "nulle", "santimi"}},
        {0, 21000, {"divdesmit", "viens", "tukstotis", "lati", "nulle", "santimi"}},
        {0, 1000000, {"viens", "miljons", "lati", "nulle", "santimi"}},
        {0, 3000000, {"tris", "miljoni", "lati", "nulle", "santimi"}},
        {3, 0.50, {"Izdots", "nulle", "lati", "", "piecdesmit", "santimi"}},
        {3, 0, {"Izdots", "0", "lati", "0", "santimi"}},
        {3, 0.004, {"Izdots", "baigais piķis ..."}},
        {3, 1000000000, {"Izdots", "baigais piķis ..."}},
        {1, -21.01, {"Summa", "divdesmit", "viens", "lats", "viens", "santims"}},
        {1, 115.10, {"Summa", "viens_simts", "piecpadsmit", "lati", "desmit", "santimi"}},
    };
    for (const auto& c : cases) EXPECT_EQ(said(c.kind, c.amount), c.tokens) << c.amount;
}

TEST(SumVardiem, WordTables) {
    EXPECT_EQ(Desmiti("1"), "teen");
    EXPECT_EQ(Padsmiti("0"), "desmit|");
    EXPECT_EQ(Vieni(" "), "");
    EXPECT_EQ(Simti("x"), "");
    EXPECT_EQ(Simti("9"), "devini_simti|");
}

// A player that keeps what it was given and the clock's time then.
class RecordingPlayer : public platform::WavPlayer {
public:
    explicit RecordingPlayer(platform::ManualClock& clock) : clock_(clock) {}
    bool play(const std::string& path) override {
        played.push_back({QString::fromStdString(path), clock_.now()});
        return true;
    }
    std::vector<std::pair<QString, std::chrono::system_clock::time_point>> played;

private:
    platform::ManualClock& clock_;
};

class SpokenWordsTest : public TestEnvironment {
protected:
    void word(const char* token) {
        std::filesystem::create_directories(dir() / "SumVardi");
        std::ofstream(dir() / "SumVardi" / (std::string(token) + ".wav")) << "RIFF";
    }
};

TEST_F(SpokenWordsTest, EachWordFileThenItsPause) {
    std::filesystem::create_directories(dir() / "SumVardi");
    for (const char* t : {"Izdots", "nulle", "lati", "piecdesmit", "santimi"}) word(t);
    RecordingPlayer player(clock());
    QStringList missing;
    TSumVardiem(3, 0.5, {&player, [&](const QString& text) { missing << text; }});
    ASSERT_EQ(player.played.size(), 5u);
    const QString folder = QDir::currentPath() + "/SumVardi/";
    EXPECT_EQ(player.played[0].first, folder + "Izdots.wav");
    EXPECT_EQ(player.played[4].first, folder + "santimi.wav");  // blanks around the token go
    for (std::size_t i = 1; i < player.played.size(); ++i)
        EXPECT_EQ(player.played[i].second - player.played[i - 1].second, std::chrono::milliseconds(kWordPauseMs));
    EXPECT_TRUE(missing.isEmpty());  // the empty token is skipped without a word
}

TEST_F(SpokenWordsTest, EveryMissingWordIsToldOnce) {
    RecordingPlayer player(clock());
    QStringList missing;
    const auto start = clock().now();
    TSumVardiem vardi(1, 1.0, {&player, [&](const QString& text) { missing << text; }});
    EXPECT_EQ(missing, QStringList({"Nav atrodams fails Summa.wav", "Nav atrodams fails viens.wav", "Nav atrodams fails lats.wav",
                                    "Nav atrodams fails nulle.wav", "Nav atrodams fails santimi.wav"}));
    EXPECT_TRUE(player.played.empty());
    EXPECT_EQ(clock().now(), start);  // no pause for a word not played
    missing.clear();
    vardi.SpeakSumma(3, 0.5, {&player, [&](const QString& text) { missing << text; }});
    EXPECT_EQ(missing.size(), 5);  // the empty token tells nothing
    EXPECT_TRUE(missing.contains("Nav atrodams fails   santimi.wav"));  // the name as the token has it
}

// A 16-bit mono WAV of a tenth of a second of silence.
void writeSilence(const std::filesystem::path& file) {
    const std::uint32_t rate = 8000, samples = 800, data = samples * 2;
    std::ofstream out(file, std::ios::binary);
    auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out << "RIFF";
    u32(36 + data);
    out << "WAVEfmt ";
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out << "data";
    u32(data);
    for (std::uint32_t i = 0; i < samples; ++i) u16(0);
}

TEST_F(SpokenWordsTest, TheAlsaPlayerPlaysAWordOnTheNullDevice) {
    writeSilence(dir() / "viens.wav");
    platform::AlsaWavPlayer player("null");
    ASSERT_TRUE(player.play((dir() / "viens.wav").string()));
    EXPECT_TRUE(player.finish());
    EXPECT_FALSE(player.play((dir() / "nav.wav").string()));
    word("bojats");
    EXPECT_FALSE(player.play((dir() / "SumVardi" / "bojats.wav").string()));
}

}  // namespace
