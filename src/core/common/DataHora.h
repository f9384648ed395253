#pragma once
// Date-time values of the model: days since 1899-12-30 00:00 as a double (fraction = time).
#include <string>

#include "core/common/Regional.h"

double EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                      int second = 0, int msec = 0);
void DecodeDateTime(double dt, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& msec);
double Now();    // local time
double Date();   // today at 00:00 local time

// Delphi FormatDateTime tokens: d dd m mm yy yyyy h hh n nn s ss AM/PM AMPM, '/' and ':'
// literal, "..." quoted.
std::string FormatDateTime(const std::string& format, double dt);
std::string FormatDDMMYYYY(double dt);                                   // "dd/mm/yyyy"
std::string DateToStr(double dt, const Regional& r = Regional::Current());  // short date
std::string DateTimeToStr(double dt, const Regional& r = Regional::Current());  // date + " " + long time, time omitted at 00:00:00
// Parses text written by DateTimeToStr / DateToStr under r (also dd/mm/yyyy[ hh:nn[:ss]]).
bool TryStrToDateTime(const std::string& text, double& out, const Regional& r = Regional::Current());
