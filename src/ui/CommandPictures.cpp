#include "ui/CommandPictures.h"

#include "platform/CommandTable.h"

#include <wx/artprov.h>
#include <wx/bmpbndl.h>

#include <cstring>

// Every picture is drawn for this program on a 16 x 16 grid. Blue stands for the base model and
// orange for its dual; the face and diagram views sit on a white page; the morphs mix both colours.

namespace
{
// Shared pieces.
#define ORV_CUBE(top, left, right, line)                                                                     \
    "<path d='M8 1.5L14.5 5L8 8.5L1.5 5Z' fill='" top "'/>"                                                    \
    "<path d='M1.5 5L8 8.5V15L1.5 11.5Z' fill='" left "'/>"                                                    \
    "<path d='M14.5 5L8 8.5V15L14.5 11.5Z' fill='" right "'/>"                                                 \
    "<path d='M8 1.5L14.5 5V11.5L8 15L1.5 11.5V5ZM1.5 5L8 8.5L14.5 5M8 8.5V15' fill='none' stroke='" line      \
    "' stroke-linejoin='round'/>"
#define ORV_BLUE_CUBE ORV_CUBE("#9fc0ff", "#5a86e6", "#2f59b5", "#16306e")
#define ORV_ORANGE_CUBE ORV_CUBE("#ffcf8f", "#f39233", "#bf600f", "#6b3206")
#define ORV_PALE_CUBE ORV_CUBE("#e4edff", "#cddcfa", "#b5c9f0", "#7f95c2")
#define ORV_OCTAHEDRON                                                                                         \
    "<path d='M8 1V8H1Z' fill='#ffcf8f'/><path d='M8 1L15 8H8Z' fill='#f39233'/>"                              \
    "<path d='M1 8H8V15Z' fill='#f39233'/><path d='M8 8H15L8 15Z' fill='#bf600f'/>"                            \
    "<path d='M8 1L15 8L8 15L1 8ZM8 1V15M1 8H15' fill='none' stroke='#6b3206' stroke-linejoin='round'/>"
#define ORV_STAR_PATH "M8 1L9.8 6.1L15.1 6.2L10.9 9.4L12.4 14.6L8 11.5L3.6 14.6L5.1 9.4L0.9 6.2L6.2 6.1Z"
#define ORV_STAR_INNER "M9.8 6.1L10.9 9.4L8 11.5L5.1 9.4L6.2 6.1Z"
#define ORV_PAGE "<rect x='0.5' y='0.5' width='15' height='15' fill='#ffffff' stroke='#8a8a8a'/>"
#define ORV_PENTAGON "M8 2.5L13.7 6.6L11.5 13.4H4.5L2.3 6.6Z"
#define ORV_HEXAGON "M8 1.5L14 5V11.5L8 15L2 11.5V5Z"
#define ORV_FOLDER                                                                                             \
    "<path d='M1 3.5H6L7.5 5H14.5V13.5H1Z' fill='#e8b94a' stroke='#8a6212' stroke-linejoin='round'/>"          \
    "<path d='M1 13.5L3.5 7.5H15.5L13.5 13.5Z' fill='#f7d774' stroke='#8a6212' stroke-linejoin='round'/>"
#define ORV_FLOPPY                                                                                             \
    "<path d='M1.5 1.5H12.5L14.5 3.5V14.5H1.5Z' fill='#3b6fd0' stroke='#17306b' stroke-linejoin='round'/>"     \
    "<rect x='4' y='2' width='7' height='4' fill='#e8eef8'/><rect x='8.5' y='2.5' width='1.6' height='3' "     \
    "fill='#17306b'/><rect x='3.5' y='8.5' width='9' height='5.5' fill='#ffffff'/>"
#define ORV_PLAY_CORNER "<path d='M10 9.5L15.5 12.5L10 15.5Z' fill='#2f9e44' stroke='#145a22' stroke-width='0.6'/>"
#define ORV_UNDO_ARROW                                                                                         \
    "<path d='M4.5 6.5H10A3.8 3.8 0 0 1 10 14H5.5' fill='none' stroke='#2a55b0' stroke-width='2.2'/>"          \
    "<path d='M0.8 6.5L5.5 2V11Z' fill='#2a55b0'/>"
#define ORV_MIRROR(body) "<g transform='matrix(-1 0 0 1 16 0)'>" body "</g>"
#define ORV_SILVER_BALL(cx, cy, r)                                                                             \
    "<circle cx='" cx "' cy='" cy "' r='" r "' fill='url(#silver)' stroke='#555' stroke-width='0.6'/>"
#define ORV_SILVER_DEFS                                                                                        \
    "<defs><radialGradient id='silver' cx='0.35' cy='0.35' r='0.75'><stop offset='0' stop-color='#ffffff'/>"   \
    "<stop offset='1' stop-color='#7d8794'/></radialGradient></defs>"
#define ORV_KIT_ROD(colour, extra)                                                                             \
    ORV_SILVER_DEFS extra "<path d='M3.5 12.5L12.5 3.5' stroke='#4a4a4a' stroke-width='4.6' "                  \
                          "stroke-linecap='round'/><path d='M3.5 12.5L12.5 3.5' stroke='" colour               \
                          "' stroke-width='3' stroke-linecap='round'/>" ORV_SILVER_BALL("2.8", "13.2", "2.3")  \
        ORV_SILVER_BALL("13.2", "2.8", "2.3")

struct Picture
{
    const char* name;
    const char* body;  // the SVG inside its <svg> element
};

const Picture kPictures[] = {
    // The Main toolbar.
    {"open", ORV_FOLDER},
    {"save", ORV_FLOPPY},
    {"save-as", "<g transform='scale(0.8)'>" ORV_FLOPPY "</g>"
                "<path d='M8.5 15.5L9 12.5L14 7.5L16 9.5L11 14.5Z' fill='#f2b134' stroke='#6b4a08' "
                "stroke-width='0.7' stroke-linejoin='round'/>"},
    {"print", "<rect x='4' y='1.5' width='8' height='5' fill='#fff' stroke='#444'/>"
              "<rect x='1.5' y='6' width='13' height='6' rx='1' fill='#9a9a9a' stroke='#444'/>"
              "<rect x='4' y='10' width='8' height='5' fill='#fff' stroke='#444'/>"
              "<path d='M5.5 12H10.5M5.5 13.5H9' stroke='#888' stroke-width='0.7'/>"
              "<circle cx='12.5' cy='8' r='0.8' fill='#3c3'/>"},
    {"undo", ORV_UNDO_ARROW},
    {"redo", ORV_MIRROR(ORV_UNDO_ARROW)},
    {"polyhedron-list", "<g transform='translate(0 3.5) scale(0.55)'>" ORV_BLUE_CUBE "</g>"
                        "<path d='M10 3H15.5M10 6.5H15.5M10 10H15.5M10 13.5H15.5' stroke='#444' stroke-width='1.3'/>"},
    {"previous-polyhedron", "<path d='M12 1.5L3 8L12 14.5Z' fill='#5a86e6' stroke='#16306e' stroke-linejoin='round'/>"},
    {"next-polyhedron", ORV_MIRROR("<path d='M12 1.5L3 8L12 14.5Z' fill='#5a86e6' stroke='#16306e' "
                                   "stroke-linejoin='round'/>")},
    {"augment", "<g transform='translate(2 4) scale(0.75)'>" ORV_BLUE_CUBE "</g>"
                "<path d='M8 0.5L3.1 7.75L8 10.4Z' fill='#ffcf8f' stroke='#6b3206' stroke-width='0.8' "
                "stroke-linejoin='round'/><path d='M8 0.5L12.9 7.75L8 10.4Z' fill='#f39233' stroke='#6b3206' "
                "stroke-width='0.8' stroke-linejoin='round'/>"},
    {"models-on-faces", "<path d='M0.5 11L8 7.5L15.5 11L8 14.5Z' fill='#9fc0ff' stroke='#16306e'/>"
                        "<g transform='translate(1.5 3) scale(0.4)'>" ORV_ORANGE_CUBE "</g>"
                        "<g transform='translate(8.3 3) scale(0.4)'>" ORV_ORANGE_CUBE "</g>"
                        "<g transform='translate(4.9 0) scale(0.4)'>" ORV_ORANGE_CUBE "</g>"},
    {"create-block", "<g transform='translate(4 0) scale(0.5)'>" ORV_BLUE_CUBE "</g>"
                     "<g transform='translate(0 3.5) scale(0.5)'>" ORV_BLUE_CUBE "</g>"
                     "<g transform='translate(8 3.5) scale(0.5)'>" ORV_BLUE_CUBE "</g>"
                     "<g transform='translate(4 7.5) scale(0.5)'>" ORV_BLUE_CUBE "</g>"},
    {"delete-part", "<g transform='scale(0.75)'>" ORV_BLUE_CUBE "</g>"
                    "<path d='M9 9L15 15M15 9L9 15' stroke='#d02020' stroke-width='2.2' stroke-linecap='round'/>"},
    // The Tour toolbar.
    {"tour-list", "<path d='M1 1.5L4.5 3.2L1 5ZM1 6.5L4.5 8.2L1 10ZM1 11.5L4.5 13.2L1 15Z' fill='#2f9e44'/>"
                  "<path d='M6 3.2H15.5M6 8.2H15.5M6 13.2H15.5' stroke='#444' stroke-width='1.4'/>"},
    {"tour-open", "<g transform='scale(0.85)'>" ORV_FOLDER "</g>" ORV_PLAY_CORNER},
    {"tour-merge", "<path d='M2.5 1.5L8 7.5M13.5 1.5L8 7.5M8 7.5V12' stroke='#2a55b0' stroke-width='2' fill='none'/>"
                   "<path d='M4.5 11.5L8 15.5L11.5 11.5Z' fill='#2a55b0'/>"},
    {"tour-save", "<g transform='scale(0.85)'>" ORV_FLOPPY "</g>" ORV_PLAY_CORNER},
    {"tour-play", "<path d='M3 1.5L14.5 8L3 14.5Z' fill='#2f9e44' stroke='#145a22' stroke-linejoin='round'/>"},
    {"tour-add", "<path d='M8 1.5V14.5M1.5 8H14.5' stroke='#2f9e44' stroke-width='3.2'/>"},
    {"tour-replace", "<path d='M2.5 7A5.5 5.5 0 0 1 12 4' fill='none' stroke='#2a55b0' stroke-width='1.8'/>"
                     "<path d='M14.5 1.5V7.5H8.5Z' fill='#2a55b0'/>"
                     "<path d='M13.5 9A5.5 5.5 0 0 1 4 12' fill='none' stroke='#2a55b0' stroke-width='1.8'/>"
                     "<path d='M1.5 14.5V8.5H7.5Z' fill='#2a55b0'/>"},
    {"tour-remove", "<path d='M1.5 8H14.5' stroke='#d02020' stroke-width='3.2'/>"},
    {"tour-previous", "<rect x='2' y='2.5' width='2.4' height='11' fill='#2a55b0'/>"
                      "<path d='M14 2.5L5 8L14 13.5Z' fill='#2a55b0'/>"},
    {"tour-next", ORV_MIRROR("<rect x='2' y='2.5' width='2.4' height='11' fill='#2a55b0'/>"
                             "<path d='M14 2.5L5 8L14 13.5Z' fill='#2a55b0'/>")},
    // The Option toolbar.
    {"model-info", "<circle cx='8' cy='8' r='7' fill='#2a6fd8' stroke='#143c7a'/>"
                   "<circle cx='8' cy='4.3' r='1.3' fill='#fff'/><rect x='6.9' y='6.5' width='2.2' height='6' fill='#fff'/>"},
    {"pivot", "<path d='M3.2 11A5.6 5.6 0 1 1 10 13.4' fill='none' stroke='#2a55b0' stroke-width='1.7'/>"
              "<path d='M7.3 15.5L11.5 10.8L12.8 15.3Z' fill='#2a55b0'/><circle cx='8' cy='8' r='2' fill='#d02020'/>"},
    {"lock-views", "<path d='M5 7.5V5A3 3 0 0 1 11 5V7.5' fill='none' stroke='#555' stroke-width='1.7'/>"
                   "<rect x='2.5' y='7' width='11' height='8' rx='1' fill='#e0a820' stroke='#7a5a08'/>"
                   "<rect x='7.2' y='9.5' width='1.6' height='3' fill='#7a5a08'/>"},
    {"rainbow", "<path d='M1.2 14.5A6.8 6.8 0 0 1 14.8 14.5' fill='none' stroke='#e03030' stroke-width='1.6'/>"
                "<path d='M2.8 14.5A5.2 5.2 0 0 1 13.2 14.5' fill='none' stroke='#f39233' stroke-width='1.6'/>"
                "<path d='M4.4 14.5A3.6 3.6 0 0 1 11.6 14.5' fill='none' stroke='#e8d020' stroke-width='1.6'/>"
                "<path d='M6 14.5A2 2 0 0 1 10 14.5' fill='none' stroke='#2f9e44' stroke-width='1.6'/>"},
    {"replace-color", "<rect x='1' y='1' width='6.5' height='6.5' fill='#e03030' stroke='#444'/>"
                      "<rect x='8.5' y='8.5' width='6.5' height='6.5' fill='#2f9e44' stroke='#444'/>"
                      "<path d='M4.2 8.5V12H6.5' fill='none' stroke='#333' stroke-width='1.4'/>"
                      "<path d='M6.3 9.6L8.7 12L6.3 14.4Z' fill='#333'/>"},
    {"face-type-color", ORV_CUBE("#e03030", "#5a86e6", "#e03030", "#16306e")},
    {"single-face-color", ORV_CUBE("#e03030", "#5a86e6", "#2f59b5", "#16306e")},
    {"all-face-colors", ORV_CUBE("#e8d020", "#e03030", "#2f9e44", "#333333")},
    {"show-vertices", ORV_PALE_CUBE "<g fill='#111'><circle cx='8' cy='1.7' r='1.5'/><circle cx='14.3' cy='5' r='1.5'/>"
                      "<circle cx='14.3' cy='11.5' r='1.5'/><circle cx='8' cy='14.8' r='1.5'/>"
                      "<circle cx='1.7' cy='11.5' r='1.5'/><circle cx='1.7' cy='5' r='1.5'/>"
                      "<circle cx='8' cy='8.5' r='1.5'/></g>"},
    {"show-edges", ORV_CUBE("#e4edff", "#cddcfa", "#b5c9f0", "#111111")
                   "<path d='M8 1.5L14.5 5V11.5L8 15L1.5 11.5V5ZM1.5 5L8 8.5L14.5 5M8 8.5V15' fill='none' "
                   "stroke='#111' stroke-width='1.8' stroke-linejoin='round'/>"},
    {"spheres-cylinders",
     "<defs><radialGradient id='ball' cx='0.35' cy='0.35' r='0.75'><stop offset='0' stop-color='#ffffff'/>"
     "<stop offset='1' stop-color='#2f59b5'/></radialGradient></defs>"
     "<path d='M4 12L12 4' stroke='#16306e' stroke-width='4.4'/><path d='M4 12L12 4' stroke='#8fb0f0' "
     "stroke-width='2.6'/><circle cx='4' cy='12' r='3.3' fill='url(#ball)' stroke='#16306e' stroke-width='0.6'/>"
     "<circle cx='12' cy='4' r='3.3' fill='url(#ball)' stroke='#16306e' stroke-width='0.6'/>"},
    {"geomag", ORV_SILVER_DEFS "<path d='M3 13H13L8 3.5Z' fill='none' stroke='#4a4a4a' stroke-width='3.2' "
                               "stroke-linejoin='round'/><path d='M3 13H13L8 3.5Z' fill='none' stroke='#e8c020' "
                               "stroke-width='1.8' stroke-linejoin='round'/>" ORV_SILVER_BALL("3", "13", "2.3")
                                   ORV_SILVER_BALL("13", "13", "2.3") ORV_SILVER_BALL("8", "3.5", "2.3")},
    {"cell-lines", "<path d='" ORV_PENTAGON "' fill='#9fc0ff' stroke='#16306e' stroke-linejoin='round'/>"
                   "<path d='M8 2.5L11.5 13.4L2.3 6.6H13.7L4.5 13.4Z' fill='none' stroke='#16306e' "
                   "stroke-width='0.8' stroke-linejoin='round'/>"},
    {"selected-face-highlight", ORV_CUBE("#ffe14a", "#5a86e6", "#2f59b5", "#16306e")
                                "<path d='M8 1.5L14.5 5L8 8.5L1.5 5Z' fill='none' stroke='#c08000' stroke-width='1.4' "
                                "stroke-linejoin='round'/>"},
    {"selected-face-diagram", ORV_PAGE "<path d='M1 10.5H15M2.2 15L9.6 2M13.8 15L6.4 2' stroke='#333' "
                                       "stroke-width='0.8'/><path d='M5 10.5H11L8 5.3Z' fill='#ffe14a' stroke='#c08000' "
                                       "stroke-linejoin='round'/>"},
    {"symmetry-axes", ORV_PALE_CUBE "<path d='M8 0V16' stroke='#d02020' stroke-width='1.6' stroke-dasharray='2.5 1.2'/>"
                                    "<path d='M0 12.5L16 3.5' stroke='#2f9e44' stroke-width='1.6' "
                                    "stroke-dasharray='2.5 1.2'/>"},
    {"reflection-planes", ORV_PALE_CUBE "<path d='M4.5 0.8L11.5 3.6V15.4L4.5 12.6Z' fill='#e03030' fill-opacity='0.8' "
                                        "stroke='#7a1010' stroke-linejoin='round'/>"},
    {"reflexibility", "<path d='M7 2L1.5 8L7 14Z' fill='#5a86e6' stroke='#16306e' stroke-linejoin='round'/>"
                      "<path d='M9 2L14.5 8L9 14Z' fill='#9fc0ff' stroke='#16306e' stroke-linejoin='round'/>"
                      "<path d='M8 0V16' stroke='#333' stroke-dasharray='1.6 1.2'/>"},
    {"previous-stellation", "<g transform='translate(5 2) scale(0.7)'><path d='" ORV_STAR_PATH "' fill='#5a86e6' "
                            "stroke='#16306e' stroke-linejoin='round'/></g><path d='M4.6 4.5L0.5 8.5L4.6 12.5Z' "
                            "fill='#16306e'/>"},
    {"next-stellation", ORV_MIRROR("<g transform='translate(5 2) scale(0.7)'><path d='" ORV_STAR_PATH "' fill='#5a86e6' "
                                   "stroke='#16306e' stroke-linejoin='round'/></g><path d='M4.6 4.5L0.5 8.5L4.6 12.5Z' "
                                   "fill='#16306e'/>")},
    {"fill-cells", "<path d='" ORV_STAR_PATH "' fill='#ffffff' stroke='#16306e' stroke-linejoin='round'/>"
                   "<path d='" ORV_STAR_INNER "' fill='#e03030'/><path d='M8 1L9.8 6.1H6.2Z' fill='#e03030'/>"
                   "<path d='" ORV_STAR_PATH "' fill='none' stroke='#16306e' stroke-linejoin='round'/>"},
    // The kit's edge styles, in style order.
    {"kit-edge-yellow", ORV_KIT_ROD("#f2d21b", "")},
    {"kit-edge-red", ORV_KIT_ROD("#d82222", "")},
    {"kit-edge-green", ORV_KIT_ROD("#22a83a", "")},
    {"kit-edge-blue", ORV_KIT_ROD("#1f4fd0", "")},
    {"kit-edge-metallic-blue", ORV_KIT_ROD("#4a78c8", "") "<path d='M4.6 10.2L10.2 4.6' stroke='#d8e6ff' "
                                                          "stroke-width='0.9'/>"},
    {"kit-edge-metallic-silver", ORV_KIT_ROD("#a9b0b8", "") "<path d='M4.6 10.2L10.2 4.6' stroke='#ffffff' "
                                                            "stroke-width='0.9'/>"},
    {"kit-edge-glow-in-the-dark", ORV_KIT_ROD("#d4ffa8", "<path d='M3.5 12.5L12.5 3.5' stroke='#7cff4a' "
                                                         "stroke-opacity='0.5' stroke-width='7' "
                                                         "stroke-linecap='round'/>")},
    {"kit-edge-pastel-lemon", ORV_KIT_ROD("#fff38a", "")},
    {"kit-edge-pastel-musk", ORV_KIT_ROD("#ffa89c", "")},
    {"kit-edge-pastel-mauve", ORV_KIT_ROD("#c6a0f2", "")},
    {"kit-edge-pastel-sky", ORV_KIT_ROD("#96dcf2", "")},
    // The Mode toolbar.
    {"mode-select", "<path d='M3 1V13.5L6.2 10.5L8.5 15.5L10.8 14.5L8.5 9.5H13Z' fill='#fff' stroke='#111' "
                    "stroke-linejoin='round'/>"},
    {"mode-identify", "<g transform='scale(0.8)'><path d='M3 1V13.5L6.2 10.5L8.5 15.5L10.8 14.5L8.5 9.5H13Z' "
                      "fill='#fff' stroke='#111' stroke-linejoin='round'/></g>"
                      "<path d='M10 4.5A2.6 2.6 0 1 1 13.2 7C12.2 7.6 12 8.2 12 10' fill='none' stroke='#2a55b0' "
                      "stroke-width='1.7'/><circle cx='12' cy='12.8' r='1.1' fill='#2a55b0'/>"},
    {"mode-cut-edges", "<path d='M4 1L10.5 11M12 1L5.5 11' stroke='#555' stroke-width='1.7'/>"
                       "<circle cx='4.5' cy='12.8' r='2.2' fill='none' stroke='#d02020' stroke-width='1.6'/>"
                       "<circle cx='11.5' cy='12.8' r='2.2' fill='none' stroke='#d02020' stroke-width='1.6'/>"},
    {"mode-measure", "<path d='M1 11L11 1L15 5L5 15Z' fill='#f2d060' stroke='#7a6010' stroke-linejoin='round'/>"
                     "<path d='M4 8L5.5 9.5M6 6L8 8M8 4L9.5 5.5M10 2L12 4' stroke='#7a6010'/>"},
    {"mode-faceting", "<path d='" ORV_HEXAGON "' fill='#dfe9ff' stroke='#16306e' stroke-linejoin='round'/>"
                      "<path d='M2 5L14 11.5' stroke='#d02020' stroke-width='1.6'/>"
                      "<circle cx='2' cy='5' r='1.6' fill='#d02020'/><circle cx='14' cy='11.5' r='1.6' fill='#d02020'/>"},
    {"mode-color-faces", "<path d='M13.5 0.8L15.2 2.5L8.5 9.2L6.8 7.5Z' fill='#9a6a3a' stroke='#4a2a0a' "
                         "stroke-width='0.6'/><path d='M6.8 7.5L8.5 9.2C8 12.2 5 14.7 0.8 15.2C1.8 12 3 8.5 6.8 7.5Z' "
                         "fill='#e03030' stroke='#6a1010' stroke-width='0.6'/>"},
    {"mode-image", "<rect x='1' y='2.5' width='14' height='11' fill='#bfe0ff' stroke='#444'/>"
                   "<path d='M1.5 13L6 7L9 10.5L11 8.5L14.5 13Z' fill='#3a9a4a'/>"
                   "<circle cx='11.5' cy='5.5' r='1.6' fill='#f2c020'/>"},
    {"mode-section-tumble", "<path d='M0.5 11.5L5 8H15.5L11 11.5Z' fill='#e04040' stroke='#7a1010' "
                            "stroke-linejoin='round'/><path d='M3 6A5 3.5 0 1 1 12.5 5.5' fill='none' "
                            "stroke='#2a55b0' stroke-width='1.6'/><path d='M14.8 3.5L12.8 8L10.3 4.4Z' "
                            "fill='#2a55b0'/>"},
    {"mode-4d-tumble", "<rect x='1.5' y='1.5' width='13' height='13' fill='none' stroke='#16306e'/>"
                       "<rect x='5' y='5' width='6' height='6' fill='#9fc0ff' stroke='#16306e'/>"
                       "<path d='M1.5 1.5L5 5M14.5 1.5L11 5M1.5 14.5L5 11M14.5 14.5L11 11' stroke='#16306e'/>"
                       "<path d='M12.5 5.2A5 5 0 0 1 12.5 10.8' fill='none' stroke='#d02020' stroke-width='1.4'/>"},
    // The view types, in view-type index order.
    {"view-base", ORV_BLUE_CUBE},
    {"view-dual", ORV_OCTAHEDRON},
    {"view-base-dual", "<g transform='scale(0.72)'>" ORV_BLUE_CUBE "</g>"
                       "<g transform='translate(4.5 4.5) scale(0.72)'>" ORV_OCTAHEDRON "</g>"},
    {"view-base-stellation", "<path d='" ORV_STAR_PATH "' fill='#5a86e6' stroke='#16306e' stroke-linejoin='round'/>"
                             "<path d='" ORV_STAR_INNER "' fill='#9fc0ff'/>"},
    {"view-dual-stellation", "<path d='" ORV_STAR_PATH "' fill='#f39233' stroke='#6b3206' stroke-linejoin='round'/>"
                             "<path d='" ORV_STAR_INNER "' fill='#ffcf8f'/>"},
    {"view-faceting", "<path d='" ORV_HEXAGON "' fill='#dfe9ff' stroke='#16306e' stroke-linejoin='round'/>"
                      "<path d='M8 1.5L14 11.5H2Z' fill='#5a86e6' stroke='#16306e' stroke-linejoin='round'/>"},
    {"view-compound", "<path d='M8 1L14.8 12.5H1.2Z' fill='#5a86e6' stroke='#16306e' stroke-linejoin='round'/>"
                      "<path d='M8 15L1.2 3.5H14.8Z' fill='#f39233' fill-opacity='0.85' stroke='#6b3206' "
                      "stroke-linejoin='round'/>"},
    {"view-face", ORV_PAGE "<path d='" ORV_PENTAGON "' fill='#9fc0ff' stroke='#16306e' stroke-linejoin='round'/>"},
    {"view-stellation-face", ORV_PAGE "<path d='" ORV_STAR_PATH "' fill='none' stroke='#16306e' stroke-width='0.8' "
                                      "stroke-linejoin='round'/><path d='" ORV_STAR_INNER "' fill='#5a86e6'/>"},
    {"view-stellation-diagram", ORV_PAGE "<path d='M1 5H15M1 11H15M5 1V15M11 1V15M1 1L15 15M15 1L1 15' "
                                         "stroke='#333' stroke-width='0.8' fill='none'/>"},
    {"view-cell-diagram", ORV_PAGE "<path d='M5 5H11L8 8Z' fill='#e03030'/><path d='M5 11H11L8 8Z' fill='#e03030'/>"
                                   "<path d='M1 5H15M1 11H15M1 1L15 15M15 1L1 15' stroke='#333' stroke-width='0.8' "
                                   "fill='none'/>"},
    {"view-vertex-figure", ORV_PAGE "<path d='M8 2.5L2 12.5M8 2.5L14 12.5M8 2.5L5.5 14.8M8 2.5L10.5 14.8' "
                                    "stroke='#16306e' fill='none'/><path d='M3.8 9.5L8 7L12.2 9.5L8 12Z' "
                                    "fill='#e03030' stroke='#7a1010' stroke-linejoin='round'/>"
                                    "<circle cx='8' cy='2.6' r='1.7' fill='#16306e'/>"},
    {"view-faceting-diagram", ORV_PAGE "<path d='M8 2L13.2 11H2.8ZM8 14L2.8 5H13.2Z' fill='none' stroke='#5a86e6' "
                                       "stroke-linejoin='round'/><g fill='#16306e'><circle cx='8' cy='2' r='1.3'/>"
                                       "<circle cx='13.2' cy='5' r='1.3'/><circle cx='13.2' cy='11' r='1.3'/>"
                                       "<circle cx='8' cy='14' r='1.3'/><circle cx='2.8' cy='11' r='1.3'/>"
                                       "<circle cx='2.8' cy='5' r='1.3'/></g>"},
    {"view-cross-section", ORV_PALE_CUBE "<path d='M1.5 8.2L8 4.8L14.5 8.2L8 11.7Z' fill='#e04040' "
                                         "stroke='#7a1010' stroke-linejoin='round'/>"},
    {"view-unfolded-net", "<path d='M6.25 1h3.5v3.5h-3.5zM2.75 4.5h3.5v3.5h-3.5zM6.25 4.5h3.5v3.5h-3.5z"
                          "M9.75 4.5h3.5v3.5h-3.5zM6.25 8h3.5v3.5h-3.5zM6.25 11.5h3.5v3.5h-3.5z' fill='#9fc0ff' "
                          "stroke='#16306e' stroke-width='0.8'/>"},
    {"view-folding-net", "<path d='M5 7.5H11V12.5H5Z' fill='#5a86e6' stroke='#16306e' stroke-linejoin='round'/>"
                         "<path d='M5 7.5V12.5L1.5 10.5V4.5Z' fill='#9fc0ff' stroke='#16306e' stroke-linejoin='round'/>"
                         "<path d='M11 7.5L14.5 4.5V10.5L11 12.5Z' fill='#2f59b5' stroke='#16306e' "
                         "stroke-linejoin='round'/><path d='M5 7.5H11L12.5 1.5H3.5Z' fill='#cddcfa' stroke='#16306e' "
                         "stroke-linejoin='round'/>"},
    {"morph-sizing", "<path d='M8 1L15 8L8 15L1 8Z' fill='#f39233' stroke='#6b3206' stroke-linejoin='round'/>"
                     "<rect x='5' y='5' width='6' height='6' fill='#5a86e6' stroke='#16306e'/>"},
    {"morph-truncation", "<rect x='1.5' y='1.5' width='13' height='13' fill='#f39233' stroke='#6b3206'/>"
                         "<path d='M5 1.5H11L14.5 5V11L11 14.5H5L1.5 11V5Z' fill='#5a86e6' stroke='#16306e' "
                         "stroke-linejoin='round'/>"},
    {"morph-augmentation", "<path d='M5 5L8 0.8L11 5ZM11 5L15.2 8L11 11ZM5 11L8 15.2L11 11ZM5 5L0.8 8L5 11Z' "
                           "fill='#f39233' stroke='#6b3206' stroke-linejoin='round'/>"
                           "<rect x='5' y='5' width='6' height='6' fill='#5a86e6' stroke='#16306e'/>"},
    {"morph-expansion", "<path d='M8 4.5L11.5 8L8 11.5L4.5 8Z' fill='#f39233' stroke='#6b3206' stroke-linejoin='round'/>"
                        "<g fill='#5a86e6' stroke='#16306e'><rect x='1.5' y='1.5' width='4.5' height='4.5'/>"
                        "<rect x='10' y='1.5' width='4.5' height='4.5'/><rect x='1.5' y='10' width='4.5' height='4.5'/>"
                        "<rect x='10' y='10' width='4.5' height='4.5'/></g>"},
    {"morph-tilting-quads", "<rect x='1' y='1' width='14' height='14' fill='#ffcf8f' stroke='#6b3206'/>"
                            "<g fill='#5a86e6' stroke='#16306e' stroke-width='0.8'>"
                            "<rect x='2.4' y='2.4' width='4.2' height='4.2' transform='rotate(25 4.5 4.5)'/>"
                            "<rect x='9.4' y='2.4' width='4.2' height='4.2' transform='rotate(25 11.5 4.5)'/>"
                            "<rect x='2.4' y='9.4' width='4.2' height='4.2' transform='rotate(25 4.5 11.5)'/>"
                            "<rect x='9.4' y='9.4' width='4.2' height='4.2' transform='rotate(25 11.5 11.5)'/></g>"},
    {"morph-tilting-triangles", "<rect x='1' y='1' width='14' height='14' fill='#ffcf8f' stroke='#6b3206'/>"
                                "<g fill='#5a86e6' stroke='#16306e' stroke-width='0.8' stroke-linejoin='round'>"
                                "<path d='M4.5 1.8L7.1 6.2H1.9Z' transform='rotate(20 4.5 4.5)'/>"
                                "<path d='M11.5 1.8L14.1 6.2H8.9Z' transform='rotate(20 11.5 4.5)'/>"
                                "<path d='M4.5 8.8L7.1 13.2H1.9Z' transform='rotate(20 4.5 11.5)'/>"
                                "<path d='M11.5 8.8L14.1 13.2H8.9Z' transform='rotate(20 11.5 11.5)'/></g>"},
    {"morph-tilting-compound", "<rect x='3' y='3' width='10' height='10' transform='rotate(45 8 8)' fill='#f39233' "
                               "stroke='#6b3206'/><rect x='3' y='3' width='10' height='10' fill='#5a86e6' "
                               "fill-opacity='0.8' stroke='#16306e'/>"},
    {"morph-tilting-rectify", "<rect x='1.5' y='1.5' width='13' height='13' fill='#5a86e6' stroke='#16306e'/>"
                              "<path d='M8 1.5L14.5 8L8 14.5L1.5 8Z' fill='#f39233' stroke='#6b3206' "
                              "stroke-linejoin='round'/>"},
    {"morph-snub", "<rect x='1.5' y='1.5' width='13' height='13' fill='#f39233' stroke='#6b3206'/>"
                   "<rect x='4' y='4' width='8' height='8' transform='rotate(20 8 8)' fill='#5a86e6' stroke='#16306e'/>"
                   "<path d='M1.5 1.5L5.6 3.4M14.5 1.5L12.6 5.6M14.5 14.5L10.4 12.6M1.5 14.5L3.4 10.4' "
                   "stroke='#6b3206'/>"},
    // The program's icon.
    {"orvane", "<path d='" ORV_STAR_PATH "' fill='#5a86e6' stroke='#16306e' stroke-linejoin='round'/>"
               "<path d='" ORV_STAR_INNER "' fill='#f39233' stroke='#6b3206' stroke-width='0.6' "
               "stroke-linejoin='round'/>"},
};

#undef ORV_CUBE
#undef ORV_BLUE_CUBE
#undef ORV_ORANGE_CUBE
#undef ORV_PALE_CUBE
#undef ORV_OCTAHEDRON
#undef ORV_STAR_PATH
#undef ORV_STAR_INNER
#undef ORV_PAGE
#undef ORV_PENTAGON
#undef ORV_HEXAGON
#undef ORV_FOLDER
#undef ORV_FLOPPY
#undef ORV_PLAY_CORNER
#undef ORV_UNDO_ARROW
#undef ORV_MIRROR
#undef ORV_SILVER_BALL
#undef ORV_SILVER_DEFS
#undef ORV_KIT_ROD

const Picture* FindPicture(const std::string& name)
{
    for (const Picture& p : kPictures)
        if (name == p.name)
            return &p;
    return nullptr;
}

class CommandArtProvider : public wxArtProvider
{
protected:
    wxBitmap CreateBitmap(const wxArtID& id, const wxArtClient& client, const wxSize& size) override
    {
        if (client != kCommandArtClient)
            return wxNullBitmap;
        const wxBitmapBundle picture = GetCommandPicture(id.utf8_string());
        return picture.IsOk() ? picture.GetBitmap(size.IsFullySpecified() ? size : wxSize(16, 16)) : wxNullBitmap;
    }

    wxBitmapBundle CreateBitmapBundle(const wxArtID& id, const wxArtClient& client, const wxSize& size) override
    {
        if (client != kCommandArtClient)
            return wxBitmapBundle();
        const std::string svg = GetCommandPictureSvg(id.utf8_string());
        if (svg.empty())
            return wxBitmapBundle();
        return wxBitmapBundle::FromSVG(svg.c_str(), size.IsFullySpecified() ? size : wxSize(16, 16));
    }
};
}  // namespace

std::string GetCommandPictureSvg(const std::string& name)
{
    const Picture* p = FindPicture(name);
    if (!p)
        return std::string();
    return std::string("<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16' viewBox='0 0 16 16'>") +
           p->body + "</svg>";
}

std::vector<std::string> GetCommandPictureNames()
{
    std::vector<std::string> names;
    for (const Picture& p : kPictures)
        names.push_back(p.name);
    return names;
}

wxBitmapBundle GetCommandPicture(const std::string& name)
{
    const std::string svg = GetCommandPictureSvg(name);
    if (svg.empty())
        return wxBitmapBundle();
    return wxBitmapBundle::FromSVG(svg.c_str(), wxSize(16, 16));
}

const std::vector<std::string>& GetViewTypePictureNames()
{
    static const std::vector<std::string> kNames = {
        "view-base",         "view-dual",          "view-base-dual",      "view-base-stellation",
        "view-dual-stellation", "view-faceting",   "view-compound",       "view-face",
        "view-stellation-face", "view-stellation-diagram", "view-cell-diagram", "view-vertex-figure",
        "view-faceting-diagram", "view-cross-section", "view-unfolded-net", "view-folding-net",
        "morph-sizing",      "morph-truncation",   "morph-augmentation",  "morph-expansion",
        "morph-tilting-quads", "morph-tilting-triangles", "morph-tilting-compound", "morph-tilting-rectify",
        "morph-snub",
    };
    return kNames;
}

const std::vector<std::string>& GetKitEdgeStylePictureNames()
{
    static const std::vector<std::string> kNames = {
        "kit-edge-yellow",        "kit-edge-red",          "kit-edge-green",
        "kit-edge-blue",          "kit-edge-metallic-blue", "kit-edge-metallic-silver",
        "kit-edge-glow-in-the-dark", "kit-edge-pastel-lemon", "kit-edge-pastel-musk",
        "kit-edge-pastel-mauve",  "kit-edge-pastel-sky",
    };
    return kNames;
}

void InstallCommandPictures()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    wxArtProvider::Push(new CommandArtProvider);
}
