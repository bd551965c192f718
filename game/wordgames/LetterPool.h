#pragma once
#include <string>

// Hands out the capital letters A to Z in random order without repeats.
void ResetLetterPool();
// Empty give-back: draws a letter and removes it from the pool. Otherwise the drawn letter's
// place takes the first character of `giveBack`. Empty result when the pool is empty.
std::u16string DrawLetter(const std::u16string& giveBack);
int LetterPoolCount();
