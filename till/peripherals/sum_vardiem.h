// TSumVardiem: amounts said aloud in Latvian words, one WAV file a word from the folder
// "SumVardi" below the working folder. The words are those of lati and santimi whatever the
// receipt currency: the word files the tills have are named so.
#pragma once

#include "wav_player.h"

#include <QString>
#include <QStringList>

#include <functional>

// The word tables by one digit given as text; any other text gives the empty text (except where
// Padsmiti says otherwise). Desmiti("1") is the marker "teen".
QString Vieni(const QString& digit);
QString Desmiti(const QString& digit);
QString Simti(const QString& digit);
QString Padsmiti(const QString& digit);

// The phrase of an amount: word tokens each followed by "|" (the cent word ends it without one).
QString SummasFraze(double amount);
// The tokens played for a phrase of a kind, kind word first ("Summa", "Sanemts", "Izdots" for
// kinds 1, 2 and 3), as the player cuts them: a token may be empty or carry blanks.
QStringList FrazesTokeni(int veids, const QString& fraze);

// Where the words go: the player, and who tells of a word file that is missing.
struct SpokenWordsOutput {
    platform::WavPlayer* player = nullptr;
    std::function<void(const QString&)> missingWord;
};

inline constexpr int kWordPauseMs = 1500;

// The till's player of the words: ALSA's default device unless one was installed (nullptr puts
// it back).
platform::WavPlayer& SpokenWordsPlayer();
void SetSpokenWordsPlayer(platform::WavPlayer* player);

class TSumVardiem {
public:
    // Says the amount at once.
    TSumVardiem(int veids, double summa, const SpokenWordsOutput& player);
    // Says a further amount with the same object.
    void SpeakSumma(int veids, double summa, const SpokenWordsOutput& player);
    // Plays the phrase, the kind word first: each word's file, then a pause on the clock; a
    // missing file is told ("Nav atrodams fails " and its name), an empty token skipped.
    void PlayVardi(const QString& fraze);

private:
    SpokenWordsOutput Player;
    int Veids = 0;
};
