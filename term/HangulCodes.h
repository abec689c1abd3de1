#pragma once
// Korean double-byte codes: conversion between Johab (the combination code some services use)
// and KS C 5601 / CP949 (the code the screen stores). The CP949 pair test is in
// platform/Cp949Layout.h.
#include <cstdint>

// Johab pair to the CP949 code of the same character, in place: KS C 5601 characters to their
// KS code, the syllables KS C 5601 lacks to their CP949 extended code, and the unassigned cells
// of the Johab symbol and hanja areas to the matching KS cells. Codes that are not Johab at all
// fall back to the first KS syllable (0xB0A1).
void JohabToKs(uint8_t& lead, uint8_t& trail);

// CP949 pair (a KS C 5601 character, a cell of the KS symbol or hanja rows, or an extended
// syllable) to Johab, in place. Codes without a Johab form (the user-defined and private rows,
// pairs that are not CP949) fall back to the Johab code of the first KS syllable (0x8861).
void KsToJohab(uint8_t& lead, uint8_t& trail);
