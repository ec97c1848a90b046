#include "qorkit/core/lookup_tables.h"

namespace qorkit {

// Every table below is constant-initialised (no code runs at load).

constinit const TShortStringTable<4, kLanguageCount, 1, 12> MonthShort({{
    {u8"M01", u8"M02", u8"M03", u8"M04", u8"M05", u8"M06", u8"M07", u8"M08", u8"M09", u8"M10",
     u8"M11", u8"M12"},
    {u8"Jan", u8"Feb", u8"Mar", u8"Apr", u8"May", u8"Jun", u8"Jul", u8"Aug", u8"Sep", u8"Oct",
     u8"Nov", u8"Dec"},
    {u8"Jän", u8"Feb", u8"Mär", u8"Apr", u8"Mai", u8"Jun", u8"Jul", u8"Aug", u8"Sep", u8"Okt",
     u8"Nov", u8"Dez"},
    {u8"jan", u8"fév", u8"mar", u8"avr", u8"mai", u8"juin", u8"jul", u8"aoû", u8"sep", u8"oct",
     u8"nov", u8"déc"},
    {u8"Ene", u8"Feb", u8"Mar", u8"Abr", u8"May", u8"Jun", u8"Jul", u8"Ago", u8"Sep", u8"Oct",
     u8"Nov", u8"Dic"},
}});

constinit const TShortStringTable<10, kLanguageCount, 1, 12> MonthLong({{
    {u8"M01", u8"M02", u8"M03", u8"M04", u8"M05", u8"M06", u8"M07", u8"M08", u8"M09", u8"M10",
     u8"M11", u8"M12"},
    {u8"January", u8"February", u8"March", u8"April", u8"May", u8"June", u8"July", u8"August",
     u8"September", u8"October", u8"November", u8"December"},
    {u8"Jänner", u8"Februar", u8"März", u8"April", u8"Mai", u8"Juni", u8"Juli", u8"August",
     u8"September", u8"Oktober", u8"November", u8"Dezember"},
    {u8"janvier", u8"février ", u8"mars", u8"avril", u8"mai", u8"juin", u8"juillet", u8"août",
     u8"septembre", u8"octobre", u8"novembre", u8"décembre"},
    {u8"enero", u8"febrero", u8"marzo", u8"abril", u8"mai", u8"junio", u8"julio", u8"agosto",
     u8"septiembre", u8"octubre", u8"noviembre", u8"diciembre"},
}});

constinit const TShortStringTable<3, kLanguageCount, 1, 7> WeekDayShort({{
    {u8"D01", u8"D02", u8"D03", u8"D04", u8"D05", u8"D06", u8"D07"},
    {u8"Mon", u8"Tue", u8"Wed", u8"Thu", u8"Fri", u8"Sat", u8"Sun"},
    {u8"Mo", u8"Di", u8"Mi", u8"Do", u8"Fr", u8"Sa", u8"So"},
    {u8"lun", u8"mar", u8"mer", u8"jeu", u8"ven", u8"sam", u8"dim"},
    {u8"lun", u8"mar", u8"mie", u8"jue", u8"vie", u8"sab", u8"dom"},
}});

constinit const TShortStringTable<10, kLanguageCount, 1, 7> WeekDayLong({{
    {u8"D01", u8"D02", u8"D03", u8"D04", u8"D05", u8"D06", u8"D07"},
    {u8"Monday", u8"Tuesday", u8"Wednesday", u8"Thursday", u8"Friday", u8"Saturday", u8"Sunday"},
    {u8"Montag", u8"Dienstag", u8"Mittwoch", u8"Donnerstag", u8"Freitag", u8"Samstag", u8"Sonntag"},
    {u8"lundi", u8"mardi", u8"mercredi", u8"jeudi", u8"vendredi", u8"samedi", u8"dimanche"},
    {u8"lunes", u8"martes", u8"miércoles", u8"jueves", u8"viernes", u8"sábado", u8"domingo"},
}});

constinit const TShortStringTable<6, kLanguageCount, 0, 12> NumWords({{
    {u8"N00", u8"N01", u8"N02", u8"N03", u8"N04", u8"N05", u8"N06", u8"N07", u8"N08", u8"N09",
     u8"N10", u8"N11", u8"N12"},
    {u8"zero", u8"one", u8"two", u8"three", u8"four", u8"five", u8"six", u8"seven", u8"eight",
     u8"nine", u8"ten", u8"eleven", u8"twelve"},
    {u8"null", u8"eins", u8"zwei", u8"drei", u8"vier", u8"fünf", u8"sechs", u8"sieben", u8"acht",
     u8"neun", u8"zehn", u8"elf", u8"zwölf"},
    {u8"zéro", u8"celui", u8"deux", u8"trois", u8"quatre", u8"cinq", u8"six", u8"sept", u8"huit",
     u8"neuf", u8"dix", u8"onze", u8"douze"},
    {u8"cero", u8"uno", u8"dos", u8"tres", u8"cuatro", u8"cinco", u8"seis", u8"siete", u8"ocho",
     u8"nueve", u8"diez", u8"once", u8"doce"},
}});

constinit const TShortStringTable<15, kLanguageCount, 0, 4> LanguageID({{
    {u8"???", u8"???", u8"???", u8"???", u8"???"},
    {u8"???", u8"English", u8"German", u8"French", u8"Spanish"},
    {u8"???", u8"englisch", u8"deutsch", u8"französisch", u8"spanisch"},
    {u8"???", u8"anglais", u8"allemand", u8"français", u8"espagnol"},
    {u8"???", u8"inglés", u8"alemán", u8"francés", u8"español"},
}});

constinit const TShortStringArray<2, 0, 4> ISO639_2Char({u8"??", u8"en", u8"de", u8"fr", u8"es"});
constinit const TShortStringArray<3, 0, 4> ISO639_3Char({u8"???", u8"eng", u8"ger", u8"fre",
                                                         u8"spa"});

constinit const std::array<std::u16string_view, 3> xmlVerticalAlignment = {u"vaTop", u"vaCenter",
                                                                           u"vaBottom"};
constinit const std::array<std::u16string_view, 3> xmlAlignment = {u"taLeftJustify",
                                                                   u"taRightJustify", u"taCenter"};
constinit const std::array<std::u16string_view, 3> xmlBkgFill = {u"bfSimple", u"bfStretch",
                                                                 u"bfTile"};
constinit const std::array<std::u16string_view, 3> xmlBoundingBox = {u"bbNone", u"bbFrame",
                                                                     u"bbFaces"};
constinit const std::array<std::u16string_view, 2> xmlColorScheme = {u"csBWG", u"csSystem"};
constinit const std::array<std::u16string_view, 5> xmlFigType = {u"ftNoFigs", u"ftNum", u"ftTime",
                                                                 u"ftDateTime", u"ftUserText"};
constinit const std::array<std::u16string_view, 4> xmlScaleType = {u"sctXB", u"sctXT", u"sctYL",
                                                                   u"sctYR"};
constinit const std::array<std::u16string_view, 3> xmlYearLength = {u"ylNone", u"ylYY", u"ylYYYY"};
constinit const std::array<std::u16string_view, 3> xmlDateOrder = {u"doMMDDYY", u"doDDMMYY",
                                                                   u"doYYMMDD"};
constinit const std::array<std::u16string_view, 4> xmlDateForTime = {u"dtNone", u"dtOnePerChart",
                                                                     u"dtOnePerDay", u"dtAllTicks"};
constinit const std::array<std::u16string_view, 2> xmlShadowStyle = {u"ssFlying", u"ssBox"};
constinit const std::array<std::u16string_view, 6> xmlFrameStyle = {
    u"fsNone", u"fsSimple", u"fsLowered", u"fsRaised", u"fsEmbossed", u"fsEngraved"};
constinit const std::array<std::u16string_view, 3> xmlTimeFormat = {u"tfHHMMSS", u"tfHHhMM",
                                                                    u"tfAMPM"};
constinit const std::array<std::u16string_view, 4> xmlDirection = {u"dirUpward", u"dirDownward",
                                                                   u"dirLeftward", u"dirRightward"};
constinit const std::array<std::u16string_view, 5> xmlLanguage = {
    u"lgUnknown", u"lgEnglish", u"lgGerman", u"lgFrench", u"lgSpanish"};
constinit const std::array<std::u16string_view, 7> xmlVarKind = {u"rnum", u"dnum", u"snum", u"inum",
                                                                 u"lnum", u"bool", u"strg"};
constinit const std::array<std::u16string_view, 4> xmlMouseBoxState = {
    u"msNormal", u"msFirstCorner", u"msRectDraw", u"msFinished"};
constinit const std::array<std::u16string_view, 19> xmlMouseActMode = {
    u"maNone",       u"maPan",        u"maPanHoriz",   u"maPanVert",      u"maPanGrid",
    u"maRubberBand", u"maZoom",       u"maZoomWind",   u"maZoomWindPos",  u"maZoomDrag",
    u"maDragCrossH", u"maDragLabel",  u"maRotate",     u"maRotAndZoom",   u"maRotXOnly",
    u"maRotZOnly",   u"maSelectRect", u"maDrawMTrace", u"maZoomPanColors"};
constinit const std::array<std::u16string_view, 2> xmlZoomState = {u"zsNormal", u"zsDrawWin"};
constinit const std::array<std::u16string_view, 6> xmlCrossHMode = {
    u"chOff", u"chHoriz", u"chVert", u"chBoth", u"chCrossBox", u"chBox"};
constinit const std::array<std::u16string_view, 5> xmlTxtLblMode = {u"tlOff", u"tlsimple", u"tlBox",
                                                                    u"tlUnderline", u"tlShadow"};
constinit const std::array<std::u16string_view, 4> xmlTxtLblAttachMode = {
    u"tlamNone", u"tlamXOnly", u"tlamYOnly", u"tlamBoth"};
constinit const std::array<std::u16string_view, 4> xmlFontStyle = {u"fsBold", u"fsItalic",
                                                                   u"fsUnderline", u"fsStrikeOut"};

constinit const std::array<Char, 6> CSVDELIMITERS = {u'\0', u' ', u';', u',', u':', u'\t'};
constinit const std::array<std::u16string_view, 6> CSVDELIMITERIDS = {
    u"undefined", u"blank", u"semicolon", u"comma", u"colon", u"tab"};
constinit const std::array<std::u16string_view, 6> DistModeId = {
    u"Jaccard coefficient", u"Manhattan",        u"Euclidean",
    u"squared Euclidean",   u"Dice coefficient", u"user defined"};

constinit const THTMLLat1EntityTable HTMLLat1Entities(std::array<std::u16string_view, 96>{
    u"&nbsp;",   u"&iexcl;",  u"&cent;",   u"&pound;",  u"&curren;", u"&yen;",     // 160
    u"&brvbar;", u"&sect;",   u"&uml;",    u"&copy;",   u"&ordf;",   u"&laquo;",   // 166
    u"&not;",    u"&shy;",    u"&reg;",    u"&macr;",   u"&deg;",    u"&plusmn;",  // 172
    u"&sup2;",   u"&sup3;",   u"&acute;",  u"&micro;",  u"&para;",   u"&middot;",  // 178
    u"&cedil;",  u"&sup1;",   u"&ordm;",   u"&raquo;",  u"&frac14;", u"&frac12;",  // 184
    u"&frac34;", u"&iquest;", u"&Agrave;", u"&Aacute;", u"&Acirc;",  u"&Atilde;",  // 190
    u"&Auml;",   u"&Aring;",  u"&AElig;",  u"&Ccedil;", u"&Egrave;", u"&Eacute;",  // 196
    u"&Ecirc;",  u"&Euml;",   u"&Igrave;", u"&Iacute;", u"&Icirc;",  u"&Iuml;",    // 202
    u"&ETH;",    u"&Ntilde;", u"&Ograve;", u"&Oacute;", u"&Ocirc;",  u"&Otilde;",  // 208
    u"&Ouml;",   u"&times;",  u"&Oslash;", u"&Ugrave;", u"&Uacute;", u"&Ucirc;",   // 214
    u"&Uuml;",   u"&Yacute;", u"&THORN;",  u"&szlig;",  u"&agrave;", u"&aacute;",  // 220
    u"&acirc;",  u"&atilde;", u"&auml;",   u"&aring;",  u"&aelig;",  u"&ccedil;",  // 226
    u"&egrave;", u"&eacute;", u"&ecirc;",  u"&euml;",   u"&igrave;", u"&iacute;",  // 232
    u"&icirc;",  u"&iuml;",   u"&eth;",    u"&ntilde;", u"&ograve;", u"&oacute;",  // 238
    u"&ocirc;",  u"&otilde;", u"&ouml;",   u"&divide;", u"&oslash;", u"&ugrave;",  // 244
    u"&uacute;", u"&ucirc;",  u"&uuml;",   u"&yacute;", u"&thorn;",  u"&yuml;",    // 250
});

TCSVDelimiters ResolveCSVDelimiter(Char Ch) noexcept {
    for (int d = csvBlank; d <= csvTab; ++d)
        if (CSVDELIMITERS[static_cast<std::size_t>(d)] == Ch) return static_cast<TCSVDelimiters>(d);
    return csvUnknown;
}

}  // namespace qorkit
