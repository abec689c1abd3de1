#pragma once
// Korean double-byte codes: conversion between Johab (the combination code some services use)
// and KS C 5601 / CP949 (the code the screen stores), and the CP949 pair test.
#include <cstdint>

// Johab pair to the CP949 code of the same character, in place. Codes that are not Johab at all
// fall back to the first KS syllable (0xB0A1).
void JohabToKs(uint8_t& lead, uint8_t& trail);

// CP949 pair (KS C 5601 or an extended syllable) to Johab, in place. Codes without a Johab form
// fall back to the Johab code of the first KS syllable (0x8861).
void KsToJohab(uint8_t& lead, uint8_t& trail);

// True when lead and trail together form a CP949 double-byte code.
bool IsCp949Pair(uint8_t lead, uint8_t trail);
