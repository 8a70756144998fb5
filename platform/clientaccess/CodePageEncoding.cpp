#include "platform/clientaccess/CodePageEncoding.h"

#include "platform/framework/CcsidTable.h"

#include <iconv.h>

#include <cstdio>
#include <map>
#include <mutex>

namespace kwvd::clientaccess {

namespace {

// The mixed CCSID whose double-byte set each pure double-byte CCSID is.
unsigned MixedCcsidOf(unsigned pureCcsid)
{
    switch (pureCcsid) {
    case 300:
        return 930;
    case 4396:
        return 5026;
    case 16684:
        return 1399;
    case 834:
        return 933;
    case 835:
        return 937;
    case 837:
        return 935;
    case 4930:
        return 1364;
    case 4933:
        return 1388;
    default:
        return 0;
    }
}

std::string IconvName(unsigned ccsid)
{
    // 5026 and 5035 differ from 930 and 939 only in how many user-defined
    // characters they reserve, which glibc does not map.
    if (ccsid == 5026)
        ccsid = 930;
    else if (ccsid == 5035)
        ccsid = 939;
    char name[16];
    std::snprintf(name, sizeof name, "IBM%03u", ccsid);
    return name;
}

// Whether glibc converts that encoding both ways; asked once per name.
bool IconvHas(const std::string& name)
{
    static std::mutex mutex;
    static std::map<std::string, bool> known;
    std::lock_guard lock(mutex);
    auto it = known.find(name);
    if (it != known.end())
        return it->second;
    bool both = true;
    for (const auto& [to, from] : {std::pair{name.c_str(), "UTF-32LE"}, std::pair{"UTF-32LE", name.c_str()}}) {
        iconv_t cd = iconv_open(to, from);
        if (cd == reinterpret_cast<iconv_t>(-1))
            both = false;
        else
            iconv_close(cd);
    }
    known.emplace(name, both);
    return both;
}

} // namespace

std::optional<CodePageEncoding> FindCodePageEncoding(unsigned ccsid)
{
    switch (ccsid) {
    case 1252:
        return CodePageEncoding{ccsid, EncodingForm::Windows1252, {}};
    case 1200:
        return CodePageEncoding{ccsid, EncodingForm::Utf16Be, {}};
    case 1202:
        return CodePageEncoding{ccsid, EncodingForm::Utf16Le, {}};
    case 13488:
        return CodePageEncoding{ccsid, EncodingForm::Ucs2Be, {}};
    case 1208:
        return CodePageEncoding{ccsid, EncodingForm::Utf8, {}};
    default:
        break;
    }
    const CcsidRow* row = FindCcsid(static_cast<LONG>(ccsid));
    if (!row)
        return std::nullopt;
    CodePageEncoding encoding{ccsid, EncodingForm::SingleByte, {}};
    switch (row->group) {
    case 0:
    case 1:
        encoding.iconvName = IconvName(ccsid);
        break;
    case 2:
        encoding.form = EncodingForm::Mixed;
        encoding.iconvName = IconvName(ccsid);
        break;
    case 3: {
        const unsigned mixed = MixedCcsidOf(ccsid);
        if (mixed == 0)
            return std::nullopt;
        encoding.form = EncodingForm::PureDouble;
        encoding.iconvName = IconvName(mixed);
        break;
    }
    default:
        return std::nullopt;
    }
    if (!IconvHas(encoding.iconvName))
        return std::nullopt;
    return encoding;
}

} // namespace kwvd::clientaccess
