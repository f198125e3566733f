#include "Usage.h"

#include "Arguments.h"

namespace {

const char* const synopsis =
    "Usage: huelark-cli convert [--json] [--objc] [--color-space NAME] [--cmyk-space NAME] [--db PATH] VALUE...\n"
    "       huelark-cli spaces [--json]\n"
    "       huelark-cli name [--db PATH] VALUE...\n"
    "       huelark-cli names build CSV DB\n"
    "       huelark-cli names update [--api URL] [--cdn URL]\n"
    "       huelark-cli harmonies [--json] [--color-space NAME] VALUE\n"
    "       huelark-cli history [--json]\n"
    "       huelark-cli palette show [--json] FILE...\n"
    "       huelark-cli palette convert [--force] IN OUT\n"
    "       huelark-cli palette list [--json]\n"
    "       huelark-cli palette import FILE...\n"
    "       huelark-cli palette export NAME OUT\n"
    "       huelark-cli extract [--json] [--count N] [--flags BITS] FILE...\n"
    "       huelark-cli --help\n";

const char* const details =
    "\n"
    "convert  shows each VALUE in every notation of the main window.\n"
    "  VALUE is what you would type into one field of the window:\n"
    "    a hex code      9aa2f8, #9AA2F8, #abc (short form), 12 or 1234 (read as a number)\n"
    "    rgb(R,G,B)      0-255 each\n"
    "    hsl(H,S,L)      hue 0-360, percentages 0-100 (a trailing % or degree sign is allowed)\n"
    "    hsb(H,S,B)      as hsl\n"
    "    lab(L,A,B)      L 0-100, a and b -128 to 127\n"
    "    cmyk(C,M,Y,K)   0-100 each\n"
    "    a colour name   exactly as in the names database (Periwinkle), before\n"
    "                    anything else: \"Ace\" is the name, not the code #aaccee\n"
    "  Function names are case-insensitive; spaces are allowed around the numbers.\n"
    "  --json             one JSON object per value per line, keys in the order\n"
    "                     input, name, hex, rgb, hsl, hsb, lab, cmyk, nscolor, uicolor\n"
    "  --objc             code in message syntax: [NSColor colorWithRed:...]\n"
    "  --color-space NAME the RGB space colours are held in (default sRGB IEC61966-2.1)\n"
    "  --cmyk-space NAME  the space the CMYK values are shown in (default Generic CMYK)\n"
    "  --db PATH          the names database (default: yours, as the window uses\n"
    "                     it, else the one installed with the program)\n"
    "  Without --json each value gives a block of nine lines, blocks separated\n"
    "  by an empty line:\n"
    "    name Periwinkle\n"
    "    hex 9aa2f8\n"
    "    rgb 154 162 248\n"
    "    hsl 235 87 79\n"
    "    hsb 235 38 97\n"
    "    lab 69 18 -44\n"
    "    cmyk 38 35 0 3\n"
    "    nscolor NSColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)\n"
    "    uicolor UIColor(red:154/255.0, green:162/255.0, blue:248/255.0, alpha:1.0)\n"
    "  Your settings are not read: the output depends only on the arguments\n"
    "  and the names database.\n"
    "\n"
    "spaces   lists the colour spaces NAME may be: the RGB ones, then the CMYK\n"
    "  ones, one per line as \"rgb<TAB>NAME\" or \"cmyk<TAB>NAME\";\n"
    "  with --json one object {\"rgb\":[...],\"cmyk\":[...]}.\n"
    "\n"
    "name     the closest colour name of each VALUE (read as convert reads it),\n"
    "  one per line; --db as for convert.\n"
    "\n"
    "names build CSV DB   writes the names database DB from the colour-names\n"
    "  dataset's CSV (name,hex lines under a header), replacing DB whole.\n"
    "names update         updates your names database from the newest release\n"
    "  of the public dataset, as the Names preferences do; each status line goes\n"
    "  to stderr. --api URL and --cdn URL replace the release-listing and\n"
    "  download hosts. The codes are read into your window's colour space (the\n"
    "  colorSpace setting), as the window reads them. Exit status 0 when a\n"
    "  database was installed or yours is current.\n"
    "\n"
    "harmonies  the rows of the tool window for VALUE (read as convert reads\n"
    "  it), one line per row: the row's identifier, a colon, then the wells'\n"
    "  codes as #RRGGBB, separated by spaces, in well order:\n"
    "    Base Color: #FF0000\n"
    "    Complementary Colors: #FF0000 #00FFFF\n"
    "  then Split Complementary, Analagous (so spelled), Triadic and Tetradic\n"
    "  Colors, and Monochromatic Colors, ten wells lightest first. The codes\n"
    "  are the components in the --color-space NAME (as for convert). With\n"
    "  --json one object, the seven identifiers as keys in row order, each an\n"
    "  array of \"#RRGGBB\" codes.\n"
    "\n"
    "history  every colour in your history, latest day first and newest first\n"
    "  within a day, one per line as DAY<TAB>HH:MM:SS<TAB>NAME<TAB>HEX<TAB>SWATCHES\n"
    "  (the swatch column's codes, separated by spaces); with --json one object\n"
    "  per line, keys in the order day, saved (ISO 8601), name, hex, colors.\n"
    "  Safe while Huelark runs; nothing is printed before anything is recorded,\n"
    "  and a store that cannot be read gives exit status 2.\n"
    "\n"
    "palette show FILE...  reads each palette file (.clr, .ase, .json or .gpl, by\n"
    "  its extension) as an import reads it and prints its name, then one line\n"
    "  per colour: KEY<TAB>#RRGGBB (sRGB). Colours the file does not name are\n"
    "  keyed by their closest colour name; keys are made unique (Red_ff0000).\n"
    "  Palettes are separated by an empty line. With --json one array of\n"
    "  {\"file\":...,\"name\":...,\"colors\":[{\"key\":...,\"hex\":\"#rrggbb\"},...]}.\n"
    "palette convert IN OUT  writes the palette IN in the format of OUT's\n"
    "  extension, keys kept; an existing OUT only with --force.\n"
    "palette list  your colour lists, then the system lists, one per line as\n"
    "  NAME<TAB>user|system<TAB>COUNT; with --json one array of\n"
    "  {\"name\":...,\"editable\":true|false,\"count\":...}.\n"
    "palette import FILE...  adds each file as a new list of yours (a taken name\n"
    "  gets \" (2)\", \" (3)\"...), mirrored into the shared palette folders, and\n"
    "  prints the new list's name.\n"
    "palette export NAME OUT  writes the list NAME to OUT (format by extension);\n"
    "  an existing OUT is refused.\n"
    "  The palette commands exit with 1 when a file or list failed (the others\n"
    "  are still done; a file that cannot be read is one line\n"
    "  \"huelark-cli: FILE: reason\" on stderr) and 2 when the call is wrong.\n"
    "\n"
    "extract FILE...  the dominant colours of the image FILE, or of several FILEs\n"
    "  side by side as a drop of them on the tool window stitches them (the area\n"
    "  above the shorter ones counts as black), most frequent first: one #RRGGBB\n"
    "  code (sRGB) per line. JPEG, PNG, WebP, TIFF and the other formats Qt reads;\n"
    "  embedded colour profiles are honoured.\n"
    "  --flags BITS  the sum of the options (default 4, as the tool window):\n"
    "                1 bright pixels only, 2 dark pixels only, 4 distinct colours\n"
    "                only, 8 brightest first, 16 darkest first, 32 none near\n"
    "                white, 64 none near black\n"
    "  --count N     at most N colours, kept apart as far as possible\n"
    "  --json        one object {\"pixels\":COUNTED,\"colors\":[{\"hex\":\"#RRGGBB\",\n"
    "                \"count\":PIXELS},...]}\n"
    "  A file that cannot be read is one line \"huelark-cli: FILE: reason\" on\n"
    "  stderr and exit status 1; the other files are still used.\n"
    "\n"
    "Exit status: 0 when everything was converted; 2 when a value cannot be read\n"
    "(the others are still converted), a colour space is unknown (the values\n"
    "are converted in sRGB or Generic CMYK instead), there is no names database\n"
    "(convert still converts, naming every colour \"Invalid Color\"), an update\n"
    "fails or the call is wrong. Each problem is one line on stderr.\n";

} // namespace

namespace Usage {

void printHelp(QTextStream& out)
{
    out << synopsis << details;
}

int printUsageError(QTextStream& err, const QString& problem)
{
    printError(err, problem);
    err << synopsis;
    return failure;
}

void printError(QTextStream& err, const QString& message)
{
    err << "huelark-cli: " << message << '\n';
}

std::optional<int> endEarly(const Arguments& args, const QString& command, Values values, QTextStream& out,
                            QTextStream& err)
{
    if (args.help) {
        printHelp(out);
        return success;
    }
    if (!args.error.isEmpty())
        return printUsageError(err, args.error);
    if (values == Values::none && !args.operands.isEmpty())
        return printUsageError(err, QStringLiteral("%1 takes no VALUE").arg(command));
    if (values == Values::some && args.operands.isEmpty())
        return printUsageError(err, QStringLiteral("%1 needs at least one VALUE").arg(command));
    if (values == Values::files && args.operands.isEmpty())
        return printUsageError(err, QStringLiteral("%1 needs at least one FILE").arg(command));
    return std::nullopt;
}

} // namespace Usage
