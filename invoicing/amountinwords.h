#pragma once
// An amount of rupees in English words with the Indian grouping of digits
// (crore, lakh, thousand, hundred), as the invoice form and the printed tax
// invoice show it: 1234.5 gives "One Thousand Two Hundred Thirty Four Rupees
// and Fifty Paise Only".

#include <QString>

// The words of 0 to 99; empty for 0.
QString wordsBelowHundred(int n);

// The words of 0 to 1,999 (the crore group passes up to 1,999); empty for 0.
QString wordsBelowThousand(int n);

// The amount in words, always ending in " Only". The amount is rounded to
// paise first (0.995 is "One Rupees Only"), a negative amount is written with
// "Minus " in front, and crores beyond 1,999 are themselves written with the
// Indian grouping ("Two Thousand Five Hundred Crore"). NaN and infinities give
// "Zero Rupees Only".
QString numberToWords(double amount);
