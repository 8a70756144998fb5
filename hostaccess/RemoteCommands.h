#pragma once
// The command texts the library runs on the host, built so that a value can
// never break its command or add parameters to it: a host name or special
// value goes in as it stands, user data that is neither goes in apostrophes,
// anything else is refused before the host sees it.

#include <QString>

class CrtWvdRequest;

// A command text, or the reason there is none.
struct HostCommandText
{
    QString text;
    // When refused: the keyword whose value cannot go in, and the value;
    // or the length the command would have needed (tooLongFor its limit).
    QString refusedKeyword;
    QString refusedValue;
    int tooLongFor = 0;

    bool IsValid() const { return refusedKeyword.isEmpty() && tooLongFor == 0; }
    // The message for the user: empty for a valid text.
    QString RefusalMessage() const;
};

// A name the host takes unquoted: 1 to 10 characters, a letter, $, # or @
// first, then letters, digits, $, #, @, _ or ".".
bool IsHostName(const QString& text);
// "*" and 1 to 10 letters or digits: "*ALL", "*HLD", "*SLTSPL", ...
bool IsHostSpecialValue(const QString& text);

// "SBMJOB CMD(CRTWVD SFILE(*SLTSPL) FILE(..) USRPRF(..) OUTQ(lib/q)
// FORMTYPE(..) USRDTA(..) SPLSTS(..) MOUTQ([lib/]q) WVDNAM(name/lib/APRTPDM))".
HostCommandText BuildCrtWvdCommand(const CrtWvdRequest& request);

// "CALL PGM(program) PARM(parameters)": program a name, qualified or not;
// parameters names, special values, numbers or apostrophe strings separated
// by blanks. Program and parameters together hold at most 338 characters.
HostCommandText BuildCallCommand(const QString& program, const QString& parameters);
