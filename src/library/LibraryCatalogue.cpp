#include "library/LibraryEntry.h"

namespace
{
using L = LibraryEntry;

constexpr uint32_t Index(uint32_t maeder, uint32_t kaleido)
{
    return maeder | (kaleido << L::kKaleidoShift);
}

constexpr uint32_t kSpring = L::kSpringBuilt;
constexpr uint32_t kFamily = L::kParametricFamily;
constexpr uint32_t kPyramid = L::kPyramidFamily;
constexpr uint32_t kCupola = L::kCupolaFamily;
constexpr uint32_t kCuploid = L::kCuploidFamily;
constexpr uint32_t kBlend = L::kCupolaicBlendFamily;

// The rows in category order: a row's position is its identity (stepping, stored spring data and
// the model box go by it). Fields: symbol, category, number, page 1, page 2, flags, cells, faces,
// edges, vertices, name, other names, dual names, Wythoff symbol, description, page name. Uniform
// rows hold their Wenninger number and the pages of their model and dual in the two books; family
// rows n and d; 4D rows three construction values, further ones in the Wythoff field.
LibraryEntry gLibrary[] = {
    // 0
    {"3.3.3", 4, 1, 14, 8, Index(1, 6), 0, 4, 6, 4,
     "Tetrahedron", "Tet", "Tetrahedron", "3 | 2 3", "", "Tetrahedron.php"},
    // 1
    {"4.4.4", 4, 3, 16, 8, Index(6, 11), 0, 6, 12, 8,
     "Cube", "Hexahedron", "Octahedron", "3 | 2 4", "", "Cube.php"},
    // 2
    {"3.3.3.3", 4, 2, 15, 9, Index(5, 10), 0, 8, 12, 6,
     "Octahedron", "Oct", "Cube; Hexahedron", "4 | 2 3", "", "Octahedron.php"},
    // 3
    {"5.5.5", 4, 5, 19, 9, Index(23, 28), 0, 12, 30, 20,
     "Dodecahedron", "Doe", "Icosahedron", "3 | 2 5", "", "Dodecahedron.php"},
    // 4
    {"3.3.3.3.3", 4, 4, 17, 9, Index(22, 27), 0, 20, 30, 12,
     "Icosahedron", "Ike", "Dodecahedron", "5 | 2 3", "", "Icosahedron.php"},
    // 5
    {"5/2.5/2.5/2.5/2.5/2", 5, 20, 38, 39, Index(34, 39), 0, 12, 30, 12,
     "Small Stellated Dodecahedron", "Sissid", "Great Dodecahedron", "5 | 2 5/2", "", "SmallStelDod.php"},
    // 6
    {"(5.5.5.5.5)/2", 5, 21, 39, 39, Index(35, 40), 0, 12, 30, 12,
     "Great Dodecahedron", "Gad", "Small Stellated Dodecahedron", "5/2 | 2 5", "", "GreatDod.php"},
    // 7
    {"5/2.5/2.5/2", 5, 22, 40, 40, Index(52, 57), 0, 12, 30, 20,
     "Great Stellated Dodecahedron", "Gissid", "Great Icosahedron", "3 | 2 5/2", "", "GreatStelDod.php"},
    // 8
    {"(3.3.3.3.3)/2", 5, 41, 63, 40, Index(53, 58), 0, 20, 30, 12,
     "Great Icosahedron", "Gike", "Great Stellated Dodecahedron", "5/2 | 2 3", "", "GreatIcos.php"},
    // 9
    {"6.6.3", 7, 6, 20, 14, Index(2, 7), 0, 8, 18, 12,
     "Truncated Tetrahedron", "Tut", "Triakistetrahedron", "2 3 | 3", "", "TruncTet.php"},
    // 10
    {"4.3.4.3", 7, 11, 25, 19, Index(7, 12), 0, 14, 24, 12,
     "Cuboctahedron", "Co", "Rhombic Dodecahedron", "2 | 3 4", "", "Cuboct.php"},
    // 11
    {"4.6.6", 7, 7, 21, 14, Index(8, 13), 0, 14, 36, 24,
     "Truncated Octahedron", "Mecon; Kelvin's Solid; Toe", "Tetrakishexahedron; Tetrahexahedron", "2 4 | 3", "",
     "TOct.php"},
    // 12
    {"8.8.3", 7, 8, 22, 17, Index(9, 14), 0, 14, 36, 24,
     "Truncated Cube", "Tic", "Triakisoctahedron; Small Triakisoctahedron", "2 3 | 4", "", "TCube.php"},
    // 13
    {"4.4.3.4", 7, 13, 27, 22, Index(10, 15), 0, 26, 48, 24,
     "Rhombicuboctahedron", "Small Rhombicuboctahedron; Sirco",
     "Strombic Icositetrahedron; Trapezoidal Icositetrahedron; Deltoidal Icositetrahedron; Lanceolar "
     "Icositetrahedron; Lanceolar Disdodecahedron", "3 4 | 2",
     "Comes in uniform and pseudo-uniform varieties. The pseudo-uniform version has one cap twisted. Although each "
     "vertex is still surrounded by faces in the same way, the vertices do not all have the same symmetrical "
     "relationship to the overall shape, so it is not truly uniform. It does however qualify as a Johnson solid "
     "(J37).\n\n In Orvane, use 'Poly->Create Pseudo Version' to see the pseudo version.", "RhombicuboctaPair.php"},
    // 14
    {"8.4.6", 7, 15, 29, 25, Index(11, 16), 0, 26, 72, 48,
     "Truncated Cuboctahedron", "Rhombitruncated Cuboctahedron; Great Rhombicuboctahedron; Girco",
     "Disdyakisdodecahedron; Hexakisoctahedron", "2 3 4 |", "", "TCuboct.php"},
    // 15
    {"4.3.3.3.3", 7, 17, 31, 28, Index(12, 17), 0, 38, 60, 24,
     "Snub Cube", "Snub Cuboctahedron; Snic", "Pentagonal Icositetrahedron", "| 2 3 4",
     "Comes in two orientations. In Orvane, use 'Poly->Create Mirror Image' to switch between them.", "SnubCube.php"},
    // 16
    {"5.3.5.3", 7, 12, 26, 22, Index(24, 29), 0, 32, 60, 30,
     "Icosidodecahedron", "Id", "Rhombic Triacontahedron", "2 | 3 5", "", "ID.php"},
    // 17
    {"5.6.6", 7, 9, 23, 18, Index(25, 30), 0, 32, 90, 60,
     "Truncated Icosahedron", "Bucky Ball; Ti", "Pentakisdodecahedron", "2 5 | 3", "", "TruncIcos.php"},
    // 18
    {"10.10.3", 7, 10, 24, 19, Index(26, 31), 0, 32, 90, 60,
     "Truncated Dodecahedron", "Tid", "Triakisicosahedron", "2 3 | 5", "", "TDod.php"},
    // 19
    {"5.4.3.4", 7, 14, 28, 24, Index(27, 32), 0, 62, 120, 60,
     "Rhombicosidodecahedron", "Small Rhombicosidodecahedron; Srid",
     "Strombic Hexecontahedron; Trapezoidal Hexecontahedron; Deltoidal Hexecontahedron; Lanceolar Hexecontahedron",
     "3 5 | 2", "", "Rhombicosidod.php"},
    // 20
    {"10.4.6", 7, 16, 30, 25, Index(28, 33), 0, 62, 180, 120,
     "Truncated Icosidodecahedron", "Rhombitruncated Icosidodecahedron; Great Rhombicosidodecahedron; Grid",
     "Disdyakistriacontahedron; Hexakisicosahedron", "2 3 5 |", "", "TruncIcosidod.php"},
    // 21
    {"5.3.3.3.3", 7, 18, 32, 29, Index(29, 34), 0, 92, 150, 60,
     "Snub Dodecahedron", "Snub Icosidodecahedron; Snid", "Pentagonal Hexecontahedron", "| 2 3 5",
     "Comes in two orientations. In Orvane, use 'Poly->Create Mirror Image' to switch between them.", "SnubDod.php"},
    // 22
    {"3.4.3/2.4", 8, 67, 101, 101, Index(4, 9), 0, 7, 12, 6,
     "Tetrahemihexahedron", "Thah", "Tetrahemihexacron", "3/2 3 | 2", "", "Tetrahemi.php"},
    // 23
    {"3.6.3/2.6", 9, 68, 103, 104, Index(3, 8), 0, 12, 24, 12,
     "Octahemioctahedron", "Oho", "Octahemioctacron", "3/2 3 | 3", "", "OctHemiOct.php"},
    // 24
    {"4.6.4/3.6", 9, 78, 120, 104, Index(15, 20), 0, 10, 24, 12,
     "Cubohemioctahedron", "Cho", "Hexahemioctacron", "4/3 4 | 3", "", "CHO.php"},
    // 25
    {"4.8.3/2.8", 9, 69, 104, 57, Index(13, 18), 0, 20, 48, 24,
     "Small Cubicuboctahedron", "Socco", "Small Hexacronic Icositetrahedron", "3/2 4 | 4", "", "SmallCubicubocta.php"},
    // 26
    {"8.4.8/7.4/3", 9, 86, 134, 57, Index(18, 23), 0, 18, 48, 24,
     "Small Rhombihexahedron", "Sroh", "Small Rhombihexacron", "3/2 2 4 |", "", "SRH.php"},
    // 27
    {"8/3.8/3.3", 9, 92, 144, 57, Index(19, 24), 0, 14, 36, 24,
     "Stellated Truncated Hexahedron", "Quasitruncated Hexahedron; Quith", "Great Triakisoctahedron", "2 3 | 4/3", "",
     "StelTruncHexa.php"},
    // 28
    {"8/3.4.8/5.4/3", 9, 103, 159, 60, Index(21, 26), 0, 18, 48, 24,
     "Great Rhombihexahedron", "Groh", "Great Rhombihexacron", "4/3 3/2 2 |", "", "GreatRhombihexa.php"},
    // 29
    {"8/3.3.8/3.4", 9, 77, 118, 58, Index(14, 19), 0, 20, 48, 24,
     "Great Cubicuboctahedron", "Gocco", "Great Hexacronic Icositetrahedron", "3 4 | 4/3", "", "GreatCubicubocta.php"},
    // 30
    {"4.3/2.4.4", 9, 85, 132, 59, Index(17, 22), 0, 26, 48, 24,
     "Great Rhombicuboctahedron", "Quasirhombicuboctahedron; Querco",
     "Great Deltoidal Icositetrahedron; Great Strombic Icositetrahedron", "3/2 4 | 2",
     "Comes in uniform and pseudo-uniform varieties. The pseudo-uniform version has one cap twisted. Although each "
     "vertex is still surrounded by faces in the same way, the vertices do not all have the same symmetrical "
     "relationship to the overall shape, so it is not truly uniform.\n\n In Orvane, use 'Poly->Create Pseudo Version' "
     "to see the pseudo version.", "GRhomCubOct.php"},
    // 31
    {"8/3.6.8", 9, 79, 121, 92, Index(16, 21), 0, 20, 72, 48,
     "Cubitruncated Cuboctahedron", "Cuboctatruncated Cuboctahedron; Cotco", "Tetradyakis Hexahedron", "4/3 3 4 |", "",
     "CubitruncatedCuboct.php"},
    // 32
    {"8/3.4.6", 9, 93, 145, 92, Index(20, 25), 0, 26, 72, 48,
     "Great Truncated Cuboctahedron", "Quasitruncated Cuboctahedron; Quitco", "Great Disdyakis Dodecahedron",
     "4/3 2 3 |", "", "GreatTruncCubocta.php"},
    // 33
    {"10.3.10.3/2", 10, 89, 140, 104, Index(49, 54), 0, 26, 60, 30,
     "Small Icosihemidodecahedron", "Seihid", "Small Icosihemidodecacron", "3/2 3 | 5", "", ""},
    // 34
    {"10.5.10.5/4", 10, 91, 143, 104, Index(51, 56), 0, 18, 60, 30,
     "Small Dodecahemidodecahedron", "Sidhid", "Small Dodecahemidodecacron", "5/4 5 | 5", "", ""},
    // 35
    {"5.10.3/2.10", 10, 72, 110, 70, Index(33, 38), 0, 44, 120, 60,
     "Small Dodecicosidodecahedron", "Saddid", "Small Dodecacronic Hexecontahedron", "3/2 5 | 5", "",
     "SmallDodecicosidodeca.php"},
    // 36
    {"10.4.10/9.4/3", 10, 74, 113, 70, Index(39, 44), 0, 42, 120, 60,
     "Small Rhombidodecahedron", "Sird", "Small Rhombidodecacron", "2 5/2 5 |", "", ""},
    // 37
    {"10/3.10/3.3", 10, 104, 161, 77, Index(66, 71), 0, 32, 90, 60,
     "Great Stellated Truncated Dodecahedron", "Quasitruncated Great Stellated Dodecahedron; Quit Gissid",
     "Great Triakisicosahedron", "2 3 | 5/3", "", "GreatStelTruncDod.php"},
    // 38
    {"10/3.10/3.5", 10, 97, 151, 70, Index(58, 63), 0, 24, 90, 60,
     "Small Stellated Truncated Dodecahedron", "Quasitruncated Small Stellated Dodecahedron; Quit Sissid",
     "Great Pentakisdodecahedron", "2 5 | 5/3", "", ""},
    // 39
    {"10/3.6.10/7.6/5", 10, 101, 156, 67, Index(63, 68), 0, 32, 120, 60,
     "Great Dodecicosahedron", "Giddy", "Great Dodecicosacron", "5/3 5/2 3 |", "", ""},
    // 40
    {"10/3.3.10/3.5", 10, 81, 125, 62, Index(42, 47), 0, 44, 120, 60,
     "Great Ditrigonal Dodecicosidodecahedron", "Gidditdid", "Great Ditrigonal Dodecacronic Hexecontahedron",
     "3 5 | 5/3", "", ""},
    // 41
    {"6.3/2.6.5", 10, 88, 137, 65, Index(48, 53), 0, 52, 120, 60,
     "Great Icosicosidodecahedron", "Giid", "Great Icosacronic Hexecontahedron", "3/2 5 | 3", "", "GIID.php"},
    // 42
    {"10/3.6.10", 10, 84, 130, 96, Index(45, 50), 0, 44, 180, 120,
     "Icositruncated Dodecadodecahedron", "Icosidodecatruncated Icosidodecahedron; Idtid", "Tridyakis Icosahedron",
     "5/3 3 5 |", "", ""},
    // 43
    {"10/3.4.10", 10, 98, 152, 96, Index(59, 64), 0, 54, 180, 120,
     "Truncated Dodecadodecahedron", "Quasitruncated Dodecadodecahedron; Quitdid", "Medial Disdyakis Triacontahedron",
     "5/3 2 5 |", "", ""},
    // 44
    {"10/3.4.6", 10, 108, 166, 96, Index(68, 73), 0, 62, 180, 120,
     "Great Truncated Icosidodecahedron", "Great Quasitruncated Icosidodecahedron; Gaquatid",
     "Great Disdyakis Triacontahedron", "5/3 2 3 |", "", ""},
    // 45
    {"5/2.10.10", 10, 75, 115, 84, Index(37, 42), 0, 24, 90, 60,
     "Great Truncated Dodecahedron", "Tigid", "Small Stellapentakis Dodecahedron", "2 5/2 | 5", "", ""},
    // 46
    {"5/2.6.6", 10, 95, 148, 75, Index(55, 60), 0, 32, 90, 60,
     "Great Truncated Icosahedron", "Tiggy", "Great Stellapentakis Dodecahedron", "2 5/2 | 3", "", ""},
    // 47
    {"6.5.6.5/4", 10, 102, 158, 107, Index(65, 70), 0, 22, 60, 30,
     "Great Dodecahemicosahedron", "Gidhei", "Great Dodecahemicosacron", "5/4 5 | 3", "", ""},
    // 48
    {"5/2.5.5/2.5", 10, 73, 112, 46, Index(36, 41), 0, 24, 60, 30,
     "Dodecadodecahedron", "Did", "Medial Rhombic Triacontahedron", "2 | 5/2 5", "", "Dodecadodeca.php"},
    // 49
    {"5/2.6.5/3.6", 10, 100, 155, 107, Index(62, 67), 0, 22, 60, 30,
     "Small Dodecahemicosahedron", "Sidhei", "Small Dodecahemicosacron", "5/3 5/2 | 3", "", ""},
    // 50
    {"6.4.6/5.4/3", 10, 96, 149, 85, Index(56, 61), 0, 50, 120, 60,
     "Rhombicosahedron", "Ri", "Rhombicosacron", "2 5/2 3 |", "", ""},
    // 51
    {"5/2.4.5.4", 10, 76, 116, 84, Index(38, 43), 0, 54, 120, 60,
     "Rhombidodecadodecahedron", "Raded", "Medial Deltoidal Hexecontahedron", "5/2 5 | 2", "", ""},
    // 52
    {"5/3.6.5.6", 10, 83, 128, 85, Index(44, 49), 0, 44, 120, 60,
     "Icosidodecadodecahedron", "Ided", "Medial Icosacronic Hexecontahedron", "5/3 5 | 3", "", ""},
    // 53
    {"10/3.3.10/3.3/2", 10, 106, 164, 107, Index(71, 76), 0, 26, 60, 30,
     "Great Icosihemidodecahedron", "Geihid", "Great Icosihemidodecacron", "3/2 3 | 5/3", "", ""},
    // 54
    {"5/2.3.5/2.3", 10, 94, 147, 54, Index(54, 59), 0, 32, 60, 30,
     "Great Icosidodecahedron", "Gid", "Great Rhombic Triacontahedron", "2 | 5/2 3", "", "GreatIcosidodeca1.php"},
    // 55
    {"5/2.10/3.5/3.10/3", 10, 107, 165, 107, Index(70, 75), 0, 18, 60, 30,
     "Great Dodecahemidodecahedron", "Gidhid", "Great Dodecahemidodecacron", "5/3 5/2 | 5/3", "", ""},
    // 56
    {"(5.3.5.3.5.3)/2", 10, 87, 135, 46, Index(47, 52), 0, 32, 60, 20,
     "Great Ditrigonal Icosidodecahedron", "Gidtid", "Great Triambic Icosahedron", "3/2 | 3 5", "", ""},
    // 57
    {"5/2.3.5/2.3.5/2.3", 10, 70, 106, 46, Index(30, 35), 0, 32, 60, 20,
     "Small Ditrigonal Icosidodecahedron", "Sidtid", "Small Triambic Icosahedron", "3 | 5/2 3", "", ""},
    // 58
    {"5/3.5.5/3.5.5/3.5", 10, 80, 123, 46, Index(41, 46), 0, 24, 60, 20,
     "Ditrigonal Dodecadodecahedron", "Ditdid", "Medial Triambic Icosahedron", "3 | 5/3 5", "", ""},
    // 59
    {"10.6.10/9.6/5", 10, 90, 141, 74, Index(50, 55), 0, 32, 120, 60,
     "Small Dodecicosahedron", "Siddy", "Small Dodecicosacron", "3/2 3 5 |", "", ""},
    // 60
    {"5/2.6.3.6", 10, 71, 108, 74, Index(31, 36), 0, 52, 120, 60,
     "Small Icosicosidodecahedron", "Siid", "Small Icosacronic Hexecontahedron", "5/2 3 | 3", "", ""},
    // 61
    {"5/3.10.3.10", 10, 82, 126, 74, Index(43, 48), 0, 44, 120, 60,
     "Small Ditrigonal Dodecicosidodecahedron", "Sidditdid", "Small Ditrigonal Dodecacronic Hexecontahedron",
     "5/3 3 | 5", "", ""},
    // 62
    {"10/3.4.10/7.4/3", 10, 109, 168, 88, Index(73, 78), 0, 42, 120, 60,
     "Great Rhombidodecahedron", "Gird", "Great Rhombidodecacron", "3/2 5/3 2 |", "", "GRhomDod.php"},
    // 63
    {"10/3.5/2.10/3.3", 10, 99, 154, 88, Index(61, 66), 0, 44, 120, 60,
     "Great Dodecicosidodecahedron", "Gaddid", "Great Dodecacronic Hexecontahedron", "5/2 3 | 5/3", "",
     "GreatDodecicosidodeca.php"},
    // 64
    {"4.5/3.4.3", 10, 105, 162, 88, Index(67, 72), 0, 62, 120, 60,
     "Great Rhombicosidodecahedron", "Quasirhombicosidodecahedron; Qrid",
     "Great Deltoidal Hexecontahedron; Great Strombic Hexecontahedron", "5/3 3 | 2", "", "GRhomIcosDod.php"},
    // 65
    {"5/2.3.3.3.3.3", 11, 110, 172, 119, Index(32, 37), 0, 112, 180, 60,
     "Small Snub Icosicosidodecahedron", "Seside", "Small Hexagonal Hexecontahedron", "| 5/2 3 3", "", ""},
    // 66
    {"5/2.3.5.3.3", 11, 111, 174, 120, Index(40, 45), 0, 84, 150, 60,
     "Snub Dodecadodecahedron", "Siddid", "Medial Pentagonal Hexecontahedron", "| 2 5/2 5", "", ""},
    // 67
    {"5/3.3.3.3.5.3", 11, 112, 177, 121, Index(46, 51), 0, 104, 180, 60,
     "Snub Icosidodecadodecahedron", "Sided", "Medial Hexagonal Hexecontahedron", "| 5/3 3 5", "", ""},
    // 68
    {"5/3.3.3.5.3", 11, 114, 180, 124, Index(60, 65), 0, 84, 150, 60,
     "Inverted Snub Dodecadodecahedron", "Isdid", "Medial Inverted Pentagonal Hexecontahedron", "| 5/3 2 5", "", ""},
    // 69
    {"5/2.3.3.3.3", 11, 113, 179, 123, Index(57, 62), 0, 92, 150, 60,
     "Great Snub Icosidodecahedron", "Gosid", "Great Pentagonal Hexecontahedron", "| 2 5/2 3", "", ""},
    // 70
    {"5/3.3.3.3.3", 11, 116, 186, 126, Index(69, 74), 0, 92, 150, 60,
     "Great Inverted Snub Icosidodecahedron", "Gisid", "Great Inverted Pentagonal Hexecontahedron", "| 5/3 2 3", "",
     ""},
    // 71
    {"(5/2.3.3.3.3)/2", 11, 117, 189, 128, Index(74, 79), 0, 92, 150, 60,
     "Great Inverted Retrosnub Icosidodecahedron", "Great Retrosnub Icosidodecahedron; Girsid",
     "Great Pentagrammic Hexecontahedron", "| 3/2 5/3 2",
     "Its vertex configuration is sometimes given incorrectly as 5/2.3.3.3.3, which leaves out that the vertex figure "
     "winds twice around the vertex; that configuration is the Great Snub Icosidodecahedron's.", ""},
    // 72
    {"(5/3.3.3.3.3.3)/2", 11, 118, 194, 135, Index(72, 77), 0, 112, 180, 60,
     "Small Inverted Retrosnub Icosicosidodecahedron", "Small Retrosnub Icosicosidodecahedron; Yog-Sothoth; Sirsid",
     "Small Hexagrammic Hexecontahedron", "| 3/2 3/2 5/2",
     "Its vertex configuration is sometimes given incorrectly as 5/3.3.3.3.3.3, which leaves out that the vertex "
     "figure winds twice around the vertex.", "Yog.php"},
    // 73
    {"5/2.3.3.3.5/3.3", 11, 115, 183, 136, Index(64, 69), 0, 104, 180, 60,
     "Great Snub Dodecicosidodecahedron", "Gisdid", "Great Hexagonal Hexecontahedron", "| 5/3 5/2 3",
     "The only chiral uniform polyhedron with vertices in reflexible positions.", ""},
    // 74
    {"(5/2.4.3.4.5/3.4.3/2.4)/2", 11, 119, 200, 139, Index(75, 80), 0, 124, 240, 60,
     "Great Dirhombicosidodecahedron", "Miller's Monster; Great Snub Disicosidisdodecahedron; Gidrid",
     "Great Dirhombicosidodecacron", "| 3/2 5/3 3 5/2", "", "MillersMonster.php"},
    // 75
    {"(5/2.4.3.3.3.4.5/3.4.3/2.3/2.3/2.4)/2", 11, -1, -1, -1, 0, 0, 204, 360, 60,
     "Great Disnub Dirhombidodecahedron", "Skilling's Figure; Gidisdrid", "Great Disnub Dirhombidodecacron",
     "| (3/2) 5/3 (3) 5/2",
     "Not a compound, but four faces meet at some edges, so it is partly degenerate, and not generally considered to "
     "be a true uniform polyhedron.", ""},
    // 76
    {"3.4.4", 12, -1, -1, -1, 0, 0, 5, 9, 6,
     "Triangular Prism", "Trip", "Triangular Dipyramid", "2 3 | 2", "", ""},
    // 77
    {"4.3.3.3", 12, -1, -1, -1, 0, 0, 10, 16, 8,
     "Square Antiprism", "Squap", "Square Deltohedron; Square Trapezohedron", "| 2 2 4", "", ""},
    // 78
    {"5.4.4", 12, -1, -1, -1, Index(76, 1), 0, 7, 15, 10,
     "Pentagonal Prism", "Pip", "Pentagonal Dipyramid", "2 5 | 2", "", "Prism5.php"},
    // 79
    {"5.3.3.3", 12, -1, -1, -1, Index(77, 2), 0, 12, 20, 10,
     "Pentagonal Antiprism", "Pap", "Pentagonal Deltohedron; Pentagonal Trapezohedron", "| 2 2 5", "",
     "Antiprism5.php"},
    // 80
    {"5/2.4.4", 12, -1, -1, -1, Index(78, 3), 0, 7, 15, 10,
     "Pentagrammic Prism", "Stip", "Pentagrammic Dipyramid", "2 5/2 | 2", "", "Prism52.php"},
    // 81
    {"5/2.3.3.3", 12, -1, -1, -1, Index(79, 4), 0, 12, 20, 10,
     "Pentagrammic Antiprism", "Stap", "Pentagrammic Deltohedron; Pentagrammic Trapezohedron", "| 2 2 5/2", "",
     "Antiprism52.php"},
    // 82
    {"5/3.3.3.3", 12, -1, -1, -1, Index(80, 5), 0, 12, 20, 10,
     "Pentagrammic Crossed Antiprism", "Pentagrammic Retroprism; Starp",
     "Pentagrammic Concave Deltohedron; Pentagrammic Concave Trapezohedron", "| 2 2 5/3", "", "CrossedAntiprism52.php"},
    // 83
    {"6.4.4", 12, -1, -1, -1, 0, 0, 8, 18, 12,
     "Hexagonal Prism", "Hip", "Hexagonal Dipyramid", "2 6 | 2", "", ""},
    // 84
    {"6.3.3.3", 12, -1, -1, -1, 0, 0, 14, 24, 12,
     "Hexagonal Antiprism", "Hap", "Hexagonal Deltohedron; Hexagonal Trapezohedron", "| 2 2 6", "", ""},
    // 85
    {"7.4.4", 12, -1, -1, -1, 0, 0, 9, 21, 14,
     "Heptagonal Prism", "Heep", "Heptagonal Dipyramid", "2 7 | 2", "", ""},
    // 86
    {"7.3.3.3", 12, -1, -1, -1, 0, 0, 16, 28, 14,
     "Heptagonal Antiprism", "Heap", "Heptagonal Deltohedron; Heptagonal Trapezohedron", "| 2 2 7", "", ""},
    // 87
    {"7/2.4.4", 12, -1, -1, -1, 0, 0, 9, 21, 14,
     "Heptagrammic Prism 1", "Shep", "Heptagrammic Dipyramid 1", "2 7/2 | 2", "", ""},
    // 88
    {"7/3.4.4", 12, -1, -1, -1, 0, 0, 9, 21, 14,
     "Heptagrammic Prism 2", "Giship", "Heptagrammic Dipyramid 2", "2 7/3 | 2", "", ""},
    // 89
    {"7/2.3.3.3", 12, -1, -1, -1, 0, 0, 16, 28, 14,
     "Heptagrammic Antiprism 1", "Shap", "Heptagrammic Deltohedron 1; Heptagrammic Trapezohedron 1", "| 2 2 7/2", "",
     ""},
    // 90
    {"7/3.3.3.3", 12, -1, -1, -1, 0, 0, 16, 28, 14,
     "Heptagrammic Antiprism 2", "Gishap", "Heptagrammic Deltohedron 2; Heptagrammic Trapezohedron 2", "| 2 2 7/3", "",
     ""},
    // 91
    {"7/4.3.3.3", 12, -1, -1, -1, 0, 0, 16, 28, 14,
     "Heptagrammic Crossed Antiprism", "Heptagrammic Retroprism; Gisharp",
     "Heptagrammic Concave Deltohedron; Heptagrammic Concave Trapezohedron", "| 2 2 7/4", "", ""},
    // 92
    {"8.4.4", 12, -1, -1, -1, 0, 0, 10, 24, 16,
     "Octagonal Prism", "Op", "Octagonal Dipyramid", "2 8 | 2", "", ""},
    // 93
    {"8.3.3.3", 12, -1, -1, -1, 0, 0, 18, 32, 16,
     "Octagonal Antiprism", "Oap", "Octagonal Deltohedron; Octagonal Trapezohedron", "| 2 2 8", "", ""},
    // 94
    {"10.4.4", 12, -1, -1, -1, 0, 0, 12, 30, 20,
     "Decagonal Prism", "Dip", "Decagonal Dipyramid", "2 10 | 2", "", ""},
    // 95
    {"10.3.3.3", 12, -1, -1, -1, 0, 0, 22, 40, 20,
     "Decagonal Antiprism", "Dap", "Decagonal Deltohedron; Decagonal Trapezohedron", "| 2 2 10", "", ""},
    // 96
    {"<N>.4.4", 12, 5, 1, -1, kFamily, -1, -1, -1, -1,
     "N-gonal Prism", "", "N-gonal Dipyramid", "2 <N> | 2", "", ""},
    // 97
    {"<N>.3.3.3", 12, 5, 1, -1, kFamily, -1, -1, -1, -1,
     "N-gonal Antiprism", "", "N-gonal Deltohedron; N-gonal Trapezohedron", "| 2 2 <N>", "", ""},
    // 98
    {"5.3/2.5.3/2.5.3/2.5.3/2.5.3/2", 13, -1, -1, -1, 0, 0, 32, 60, 12,
     "Small Complex Icosidodecahedron, Type I", "", "", "5 | 3/2 5",
     "Compound of Great Dodecahedron and a retrograde Icosahedron.", ""},
    // 99
    {"(5.3.5.3.5.3.5.3.5.3)/3", 13, -1, -1, -1, 0, 0, 32, 60, 12,
     "Small Complex Icosidodecahedron, Type II", "", "", "5/3 | 3 5",
     "Compound of Great Dodecahedron and Icosahedron, with every face prograde.", ""},
    // 100
    {"3.5/3.3.5/3.3.5/3.3.5/3.3.5/3", 13, -1, -1, -1, 0, 0, 32, 60, 12,
     "Great Complex Icosidodecahedron, Type I", "", "", "5 | 3 5/3",
     "Compound of Great Icosahedron and a retrograde Small Stellated Dodecahedron.", ""},
    // 101
    {"(3.5/2.3.5/2.3.5/2.3.5/2.3.5/2)/3", 13, -1, -1, -1, 0, 0, 32, 60, 12,
     "Great Complex Icosidodecahedron, Type II", "", "", "5/3 | 3 5/2",
     "Compound of Great Icosahedron and Small Stellated Dodecahedron, with every face prograde.", ""},
    // 102
    {"4.5/2.4.3", 13, -1, -1, -1, 0, 0, 62, 120, 60,
     "Small Complex Rhombicosidodecahedron", "", "", "3 5/2 | 2",
     "Compound of Small Ditrigonal Icosidodecahedron and the compound of five cubes; each vertex is three coincident "
     "vertices.", ""},
    // 103
    {"4.5/3.4.5", 13, -1, -1, -1, 0, 0, 54, 120, 60,
     "Complex Rhombidodecadodecahedron", "", "", "5/3 5 | 2",
     "Compound of Ditrigonal Dodecadodecahedron and the compound of five cubes; each vertex is three coincident "
     "vertices.", ""},
    // 104
    {"4.3/2.4.5", 13, -1, -1, -1, 0, 0, 62, 120, 60,
     "Great Complex Rhombicosidodecahedron", "", "", "3/2 5 | 2",
     "Compound of Great Ditrigonal Icosidodecahedron and the compound of five cubes; each vertex is three coincident "
     "vertices.", ""},
    // 105
    {"J1", 14, -1, -1, -1, kSpring, 0, 5, 8, 5,
     "Square Pyramid", "", "", "", "", ""},
    // 106
    {"J2", 14, -1, -1, -1, kSpring, 0, 6, 10, 6,
     "Pentagonal Pyramid", "Strappy", "", "", "", ""},
    // 107
    {"J3", 14, -1, -1, -1, kSpring, 0, 8, 15, 9,
     "Triangular Cupola", "Tricu", "", "", "", ""},
    // 108
    {"J4", 14, -1, -1, -1, kSpring, 0, 10, 20, 12,
     "Square Cupola", "", "", "", "", ""},
    // 109
    {"J5", 14, -1, -1, -1, kSpring, 0, 12, 25, 15,
     "Pentagonal Cupola", "", "", "", "", ""},
    // 110
    {"J6", 14, -1, -1, -1, kSpring, 0, 17, 35, 20,
     "Pentagonal Rotunda", "", "", "", "", ""},
    // 111
    {"J7", 14, -1, -1, -1, kSpring, 0, 7, 12, 7,
     "Elongated Triangular Pyramid", "", "", "", "", ""},
    // 112
    {"J8", 14, -1, -1, -1, kSpring, 0, 9, 16, 9,
     "Elongated Square Pyramid", "", "", "", "", ""},
    // 113
    {"J9", 14, -1, -1, -1, kSpring, 0, 11, 20, 11,
     "Elongated Pentagonal Pyramid", "", "", "", "", ""},
    // 114
    {"J10", 14, -1, -1, -1, kSpring, 0, 13, 20, 9,
     "Gyroelongated Square Pyramid", "", "", "", "", ""},
    // 115
    {"J11", 14, -1, -1, -1, kSpring, 0, 16, 25, 11,
     "Gyroelongated Pentagonal Pyramid", "Diminished Icosahedron", "", "", "", ""},
    // 116
    {"J12", 14, -1, -1, -1, kSpring, 0, 6, 9, 5,
     "Triangular Dipyramid", "Hexadeltahedron", "", "", "", ""},
    // 117
    {"J13", 14, -1, -1, -1, kSpring, 0, 10, 15, 7,
     "Pentagonal Dipyramid", "Decadeltahedron", "", "", "", ""},
    // 118
    {"J14", 14, -1, -1, -1, kSpring, 0, 9, 15, 8,
     "Elongated Triangular Dipyramid", "", "", "", "", ""},
    // 119
    {"J15", 14, -1, -1, -1, kSpring, 0, 12, 20, 10,
     "Elongated Square Dipyramid", "", "", "", "", ""},
    // 120
    {"J16", 14, -1, -1, -1, kSpring, 0, 15, 25, 12,
     "Elongated Pentagonal Dipyramid", "", "", "", "", ""},
    // 121
    {"J17", 14, -1, -1, -1, kSpring, 0, 16, 24, 10,
     "Gyroelongated Square Dipyramid", "Hexakaidecadeltahedron", "", "", "", ""},
    // 122
    {"J18", 14, -1, -1, -1, kSpring, 0, 14, 27, 15,
     "Elongated Triangular Cupola", "", "", "", "", ""},
    // 123
    {"J19", 14, -1, -1, -1, kSpring, 0, 18, 36, 20,
     "Elongated Square Cupola", "", "", "", "", ""},
    // 124
    {"J20", 14, -1, -1, -1, kSpring, 0, 22, 45, 25,
     "Elongated Pentagonal Cupola", "", "", "", "", ""},
    // 125
    {"J21", 14, -1, -1, -1, kSpring, 0, 27, 55, 30,
     "Elongated Pentagonal Rotunda", "", "", "", "", ""},
    // 126
    {"J22", 14, -1, -1, -1, kSpring, 0, 20, 33, 15,
     "Gyroelongated Triangular Cupola", "", "", "", "", ""},
    // 127
    {"J23", 14, -1, -1, -1, kSpring, 0, 26, 44, 20,
     "Gyroelongated Square Cupola", "", "", "", "", ""},
    // 128
    {"J24", 14, -1, -1, -1, kSpring, 0, 32, 55, 25,
     "Gyroelongated Pentagonal Cupola", "", "", "", "", ""},
    // 129
    {"J25", 14, -1, -1, -1, kSpring, 0, 37, 65, 30,
     "Gyroelongated Pentagonal Rotunda", "", "", "", "", ""},
    // 130
    {"J26", 14, -1, -1, -1, kSpring, 0, 8, 14, 8,
     "Gyrobifastigium", "", "", "", "", ""},
    // 131
    {"J27", 14, -1, -1, -1, kSpring, 0, 14, 24, 12,
     "Triangular Orthobicupola", "", "", "", "", ""},
    // 132
    {"J28", 14, -1, -1, -1, kSpring, 0, 18, 32, 16,
     "Square Orthobicupola", "", "", "", "", ""},
    // 133
    {"J29", 14, -1, -1, -1, kSpring, 0, 18, 32, 16,
     "Square Gyrobicupola", "", "", "", "", ""},
    // 134
    {"J30", 14, -1, -1, -1, kSpring, 0, 22, 40, 20,
     "Pentagonal Orthobicupola", "", "", "", "", ""},
    // 135
    {"J31", 14, -1, -1, -1, kSpring, 0, 22, 40, 20,
     "Pentagonal Gyrobicupola", "", "", "", "", ""},
    // 136
    {"J32", 14, -1, -1, -1, kSpring, 0, 27, 50, 25,
     "Pentagonal Orthocupolarotunda", "", "", "", "", ""},
    // 137
    {"J33", 14, -1, -1, -1, kSpring, 0, 27, 50, 25,
     "Pentagonal Gyrocupolarotunda", "", "", "", "", ""},
    // 138
    {"J34", 14, -1, -1, -1, kSpring, 0, 32, 60, 30,
     "Pentagonal Orthobirotunda", "", "", "", "", ""},
    // 139
    {"J35", 14, -1, -1, -1, kSpring, 0, 20, 36, 18,
     "Elongated Triangular Orthobicupola", "", "", "", "", ""},
    // 140
    {"J36", 14, -1, -1, -1, kSpring, 0, 20, 36, 18,
     "Elongated Triangular Gyrobicupola", "", "", "", "", ""},
    // 141
    {"J37", 14, -1, -1, -1, kSpring, 0, 26, 48, 24,
     "Elongated Square Gyrobicupola", "Pseudo Rhombicuboctahedron", "", "", "", ""},
    // 142
    {"J38", 14, -1, -1, -1, kSpring, 0, 32, 60, 30,
     "Elongated Pentagonal Orthobicupola", "", "", "", "", ""},
    // 143
    {"J39", 14, -1, -1, -1, kSpring, 0, 32, 60, 30,
     "Elongated Pentagonal Gyrobicupola", "", "", "", "", ""},
    // 144
    {"J40", 14, -1, -1, -1, kSpring, 0, 37, 70, 35,
     "Elongated Pentagonal Orthocupolarotunda", "", "", "", "", ""},
    // 145
    {"J41", 14, -1, -1, -1, kSpring, 0, 37, 70, 35,
     "Elongated Pentagonal Gyrocupolarotunda", "", "", "", "", ""},
    // 146
    {"J42", 14, -1, -1, -1, kSpring, 0, 42, 80, 40,
     "Elongated Pentagonal Orthobirotunda", "", "", "", "", ""},
    // 147
    {"J43", 14, -1, -1, -1, kSpring, 0, 42, 80, 40,
     "Elongated Pentagonal Gyrobirotunda", "", "", "", "", ""},
    // 148
    {"J44", 14, -1, -1, -1, kSpring, 0, 26, 42, 18,
     "Gyroelongated Triangular Bicupola", "", "", "", "", ""},
    // 149
    {"J45", 14, -1, -1, -1, kSpring, 0, 34, 56, 24,
     "Gyroelongated Square Bicupola", "", "", "", "", ""},
    // 150
    {"J46", 14, -1, -1, -1, kSpring, 0, 42, 70, 30,
     "Gyroelongated Pentagonal Bicupola", "", "", "", "", ""},
    // 151
    {"J47", 14, -1, -1, -1, kSpring, 0, 47, 80, 35,
     "Gyroelongated Pentagonal Cupolarotunda", "", "", "", "", ""},
    // 152
    {"J48", 14, -1, -1, -1, kSpring, 0, 52, 90, 40,
     "Gyroelongated Pentagonal Birotunda", "", "", "", "", ""},
    // 153
    {"J49", 14, -1, -1, -1, kSpring, 0, 8, 13, 7,
     "Augmented Triangular Prism", "", "", "", "", ""},
    // 154
    {"J50", 14, -1, -1, -1, kSpring, 0, 11, 17, 8,
     "Biaugmented Triangular Prism", "", "", "", "", ""},
    // 155
    {"J51", 14, -1, -1, -1, kSpring, 0, 14, 21, 9,
     "Triaugmented Triangular Prism", "Tetrakaidecadeltahedron", "", "", "", ""},
    // 156
    {"J52", 14, -1, -1, -1, kSpring, 0, 10, 19, 11,
     "Augmented Pentagonal Prism", "", "", "", "", ""},
    // 157
    {"J53", 14, -1, -1, -1, kSpring, 0, 13, 23, 12,
     "Biaugmented Pentagonal Prism", "", "", "", "", ""},
    // 158
    {"J54", 14, -1, -1, -1, kSpring, 0, 11, 22, 13,
     "Augmented Hexagonal Prism", "", "", "", "", ""},
    // 159
    {"J55", 14, -1, -1, -1, kSpring, 0, 14, 26, 14,
     "Parabiaugmented Hexagonal Prism", "", "", "", "", ""},
    // 160
    {"J56", 14, -1, -1, -1, kSpring, 0, 14, 26, 14,
     "Metabiaugmented Hexagonal Prism", "", "", "", "", ""},
    // 161
    {"J57", 14, -1, -1, -1, kSpring, 0, 17, 30, 15,
     "Triaugmented Hexagonal Prism", "", "", "", "", ""},
    // 162
    {"J58", 14, -1, -1, -1, kSpring, 0, 16, 35, 21,
     "Augmented Dodecahedron", "", "", "", "", ""},
    // 163
    {"J59", 14, -1, -1, -1, kSpring, 0, 20, 40, 22,
     "Parabiaugmented Dodecahedron", "", "", "", "", ""},
    // 164
    {"J60", 14, -1, -1, -1, kSpring, 0, 20, 40, 22,
     "Metabiaugmented Dodecahedron", "", "", "", "", ""},
    // 165
    {"J61", 14, -1, -1, -1, kSpring, 0, 24, 45, 23,
     "Triaugmented Dodecahedron", "", "", "", "", ""},
    // 166
    {"J62", 14, -1, -1, -1, kSpring, 0, 12, 20, 10,
     "Metabidiminished Icosahedron", "", "", "", "", ""},
    // 167
    {"J63", 14, -1, -1, -1, kSpring, 0, 8, 15, 9,
     "Tridiminished Icosahedron", "", "", "", "", ""},
    // 168
    {"J64", 14, -1, -1, -1, kSpring, 0, 10, 18, 10,
     "Augmented Tridiminished Icosahedron", "", "", "", "", ""},
    // 169
    {"J65", 14, -1, -1, -1, kSpring, 0, 14, 27, 15,
     "Augmented Truncated Tetrahedron", "", "", "", "", ""},
    // 170
    {"J66", 14, -1, -1, -1, kSpring, 0, 22, 48, 28,
     "Augmented Truncated Cube", "", "", "", "", ""},
    // 171
    {"J67", 14, -1, -1, -1, kSpring, 0, 30, 60, 32,
     "Biaugmented Truncated Cube", "", "", "", "", ""},
    // 172
    {"J68", 14, -1, -1, -1, kSpring, 0, 42, 105, 65,
     "Augmented Truncated Dodecahedron", "", "", "", "", ""},
    // 173
    {"J69", 14, -1, -1, -1, kSpring, 0, 52, 120, 70,
     "Parabiaugmented Truncated Dodecahedron", "", "", "", "", ""},
    // 174
    {"J70", 14, -1, -1, -1, kSpring, 0, 52, 120, 70,
     "Metabiaugmented Truncated Dodecahedron", "", "", "", "", ""},
    // 175
    {"J71", 14, -1, -1, -1, kSpring, 0, 62, 135, 75,
     "Triaugmented Truncated Dodecahedron", "", "", "", "", ""},
    // 176
    {"J72", 14, -1, -1, -1, kSpring, 0, 62, 120, 60,
     "Gyrate Rhombicosidodecahedron", "", "", "", "", ""},
    // 177
    {"J73", 14, -1, -1, -1, kSpring, 0, 62, 120, 60,
     "Parabigyrate Rhombicosidodecahedron", "", "", "", "", ""},
    // 178
    {"J74", 14, -1, -1, -1, kSpring, 0, 62, 120, 60,
     "Metabigyrate Rhombicosidodecahedron", "", "", "", "", ""},
    // 179
    {"J75", 14, -1, -1, -1, kSpring, 0, 62, 120, 60,
     "Trigyrate Rhombicosidodecahedron", "", "", "", "", ""},
    // 180
    {"J76", 14, -1, -1, -1, kSpring, 0, 52, 105, 55,
     "Diminished Rhombicosidodecahedron", "", "", "", "", ""},
    // 181
    {"J77", 14, -1, -1, -1, kSpring, 0, 52, 105, 55,
     "Paragyrate Diminished Rhombicosidodecahedron", "", "", "", "", ""},
    // 182
    {"J78", 14, -1, -1, -1, kSpring, 0, 52, 105, 55,
     "Metagyrate Diminished Rhombicosidodecahedron", "", "", "", "", ""},
    // 183
    {"J79", 14, -1, -1, -1, kSpring, 0, 52, 105, 55,
     "Bigyrate Diminished Rhombicosidodecahedron", "", "", "", "", ""},
    // 184
    {"J80", 14, -1, -1, -1, kSpring, 0, 42, 90, 50,
     "Parabidiminished Rhombicosidodecahedron", "", "", "", "", ""},
    // 185
    {"J81", 14, -1, -1, -1, kSpring, 0, 42, 90, 50,
     "Metabidiminished Rhombicosidodecahedron", "", "", "", "", ""},
    // 186
    {"J82", 14, -1, -1, -1, kSpring, 0, 42, 90, 50,
     "Gyrate Bidiminished Rhombicosidodecahedron", "", "", "", "", ""},
    // 187
    {"J83", 14, -1, -1, -1, kSpring, 0, 32, 75, 45,
     "Tridiminished Rhombicosidodecahedron", "", "", "", "", ""},
    // 188
    {"J84", 14, -1, -1, -1, kSpring, 0, 12, 18, 8,
     "Snub Disphenoid", "Dodecadeltahedron; Siamese Dodecahedron", "", "", "", "J84.php"},
    // 189
    {"J85", 14, -1, -1, -1, kSpring, 0, 26, 40, 16,
     "Snub Square Antiprism", "", "", "", "", ""},
    // 190
    {"J86", 14, -1, -1, -1, kSpring, 0, 14, 22, 10,
     "Sphenocorona", "", "", "", "", ""},
    // 191
    {"J87", 14, -1, -1, -1, kSpring, 0, 17, 26, 11,
     "Augmented Sphenocorona", "", "", "", "", ""},
    // 192
    {"J88", 14, -1, -1, -1, kSpring, 0, 18, 28, 12,
     "Sphenomegacorona", "", "", "", "", ""},
    // 193
    {"J89", 14, -1, -1, -1, kSpring, 0, 21, 33, 14,
     "Hebesphenomegacorona", "", "", "", "", ""},
    // 194
    {"J90", 14, -1, -1, -1, kSpring, 0, 24, 38, 16,
     "Disphenocingulum", "", "", "", "", ""},
    // 195
    {"J91", 14, -1, -1, -1, kSpring, 0, 14, 26, 14,
     "Bilunabirotunda", "", "", "", "", "J91.php"},
    // 196
    {"J92", 14, -1, -1, -1, kSpring, 0, 20, 36, 18,
     "Triangular Hebesphenorotunda", "", "", "", "", ""},
    // 197
    {"", 15, -1, -1, -1, kSpring, 0, 28, 54, 28,
     "Tetrated Dodecahedron", "", "", "",
     "Only the triangles that share an edge with another triangle are irregular, those edges being slightly longer "
     "than the rest.", ""},
    // 198
    {"", 15, -1, -1, -1, kSpring, 0, 38, 96, 60,
     "Dodecagonal-faced Polyhedron", "", "", "", "Not every face is quite regular.", ""},
    // 199
    {"O(*, 3, *, [2])", 15, -1, -1, -1, kSpring, 0, 38, 84, 48,
     "Enneagonal-faced Polyhedron", "", "", "", "The triangles are not quite regular.", ""},
    // 200
    {"", 15, -1, -1, -1, kSpring, 0, 50, 120, 72,
     "Equal-edged Near Miss 1", "", "", "", "All edges are equal, but not every face is quite regular.", ""},
    // 201
    {"", 15, -1, -1, -1, kSpring, 0, 86, 228, 144,
     "Hendecagonal-faced Polyhedron", "", "", "", "Not every face is quite regular.", ""},
    // 202
    {"I(1, 2, *, [2])", 15, -1, -1, -1, kSpring, 0, 92, 180, 90,
     "Half-truncated Truncated Icosahedron", "", "", "", "Not every face is quite regular.", ""},
    // 203
    {"I(2, 4, *, e)", 15, -1, -1, -1, kSpring, 0, 92, 270, 180,
     "Truncated Truncated Icosahedron", "", "", "", "Not every face is quite regular.", ""},
    // 204
    {"", 15, -1, -1, -1, kSpring, 0, 122, 360, 240,
     "Equal-edged Near Miss 2", "", "", "", "All edges are equal, but not every face is quite regular.", ""},
    // 205
    {"I(2, *, 3, e)", 15, -1, -1, -1, kSpring, 0, 122, 300, 180,
     "Decagonal-faced Near Miss", "", "", "", "Not every face is quite regular.", ""},
    // 206
    {"", 15, -1, -1, -1, kSpring, 0, 182, 540, 360,
     "Zonish Truncated Icosahedron", "", "", "", "Not every face is quite regular.", ""},
    // 207
    {"", 15, -1, -1, -1, kSpring, 0, 16, 30, 16,
     "5-5-4 Acrohedron", "", "", "",
     "This one is interesting because it has a vertex where precisely two pentagons and one square meet.  There are "
     "no known polyhedra with this combination consisting of only regular faces.  Here, the triangles and squares are "
     "not quite regular.", ""},
    // 208
    {"", 15, -1, -1, -1, kSpring, 0, 16, 28, 14,
     "The Wedge", "", "", "", "Not every face is quite regular.", ""},
    // 209
    {"4-5 P", 15, -1, -1, -1, kSpring, 0, 10, 17, 9,
     "Square-Pentagonal Mixed Prism", "", "", "", "", ""},
    // 210
    {"5-6 P", 15, -1, -1, -1, kSpring, 0, 12, 21, 11,
     "Pentagonal-Hexagonal Mixed Prism", "", "", "", "", ""},
    // 211
    {"6-7 P", 15, -1, -1, -1, kSpring, 0, 14, 25, 13,
     "Hexagonal-Heptagonal Mixed Prism", "", "", "", "", ""},
    // 212
    {"G3", 16, -1, -1, -1, kSpring, 0, 13, 24, 13,
     "Stewart G3", "", "", "", "Not a toroid (genus 0).  Satisfies (R)(A).", ""},
    // 213
    {"Z4", 16, -1, -1, -1, kSpring, 0, 22, 34, 14,
     "Stewart Z4", "", "", "", "Not a toroid (genus 0).  Satisfies (R)(A).", ""},
    // 214
    {"X", 16, -1, -1, -1, kSpring, 0, 14, 25, 13,
     "Stewart X", "", "", "", "Not a toroid (genus 0).  Satisfies (R)(A).", ""},
    // 215
    {"K4'", 16, -1, -1, -1, kSpring, 0, 42, 88, 48,
     "Stewart K4'", "", "", "", "Not a toroid (genus 0).  Satisfies (R)(A).", ""},
    // 216
    {"P6 / gP6", 16, -1, -1, -1, kSpring, 0, 12, 28, 16,
     "Simplest Torus", "", "", "", "Satisfies (R)(A)(Q)(T), genus 1.", ""},
    // 217
    {"Q3 P6 / P3 Q3", 16, -1, -1, -1, kSpring, 0, 21, 39, 18,
     "Drilled Elongated Triangular Cupola", "Cake-pan", "", "",
     "Satisfies (R)(A)(Q)(T)(D), genus 1.  Stewart toroid with the least faces.", ""},
    // 218
    {"Q3 Q3 / S3 S3", 16, -1, -1, -1, kSpring, 0, 24, 39, 15,
     "Drilled Triangular Bicupola", "Tortuous Tunnel", "", "", "Satisfies (R)(A)(Q)(T), genus 1.", ""},
    // 219
    {"T4 / gQ4 P4 Q4", 16, -1, -1, -1, kSpring, 0, 32, 64, 32,
     "Drilled Truncated Cube", "", "", "", "Satisfies (R)(A)(Q)(T), genus 1.", "DrillTCube.php"},
    // 220
    {"Q4 Q4 / B4", 16, -1, -1, -1, kSpring, 0, 28, 48, 20,
     "Drilled Square Bicupola", "", "", "", "Satisfies (R)(A)(Q)(T), genus 1.", ""},
    // 221
    {"K3 / Q3 T3", 16, -1, -1, -1, kSpring, 0, 24, 54, 30,
     "Single-Drilled Truncated Octahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 1.", ""},
    // 222
    {"R5 / S5 Q5", 16, -1, -1, -1, kSpring, 0, 35, 60, 25,
     "Drilled Pentagonal Rotunda", "Oriental Hat", "", "", "Satisfies (R)(A)(Q)(T), genus 1.", ""},
    // 223
    {"Q4 (T4) Q4 / B4 (P4) B4", 16, -1, -1, -1, kSpring, 0, 56, 104, 48,
     "Drilled Biaugmented Truncated Cube", "", "", "", "Satisfies (R)(A)(Q)(T), genus 1.", ""},
    // 224
    {"K3 / 4Q3 (S3)", 16, -1, -1, -1, kSpring, 0, 38, 72, 30,
     "Four-Drilled Truncated Octahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 3.", "DrillTOct.php"},
    // 225
    {"8S3", 16, -1, -1, -1, kSpring, 0, 48, 72, 24,
     "Eight-Octahedron Ring", "", "", "", "Satisfies (R)(A)(T), genus 1.", ""},
    // 226
    {"K4 / 12P4 (E4)", 16, -1, -1, -1, kSpring, 0, 76, 168, 72,
     "Square-Drilled Truncated Cuboctahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 11.", ""},
    // 227
    {"K4 / 8Q3 (E4)", 16, -1, -1, -1, kSpring, 0, 84, 168, 72,
     "Hexagon-Drilled Truncated Cuboctahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 7.", ""},
    // 228
    {"K4 / 6Q4 (E4)", 16, -1, -1, -1, kSpring, 0, 88, 168, 72,
     "Octagon-Drilled Truncated Cuboctahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 5.", ""},
    // 229
    {"K4 / 4P4 (E4)", 16, -1, -1, -1, kSpring, 0, 60, 136, 72,
     "Four-Square-Drilled Truncated Cuboctahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 3.", ""},
    // 230
    {"K4 / 2P4 (Q4 P8 / P4 Q4)", 16, -1, -1, -1, kSpring, 0, 58, 132, 72,
     "Two-Square Double-Drilled Truncated Cuboctahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 2.", ""},
    // 231
    {"K4 / 2 (4P4 (Q4))", 16, -1, -1, -1, kSpring, 0, 62, 144, 72,
     "Two-Hole Drilled Truncated Cuboctahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 6.", ""},
    // 232
    {"K4 / 12P4 (E4 / Q4 P4)", 16, -1, -1, -1, kSpring, 0, 90, 192, 80,
     "Double Drilled Truncated Cuboctahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 12.", ""},
    // 233
    {"K4' / Q4 (B4) Q4", 16, -1, -1, -1, kSpring, 0, 68, 128, 60,
     "Drilled Truncated Cuboctahedron Variation", "", "", "", "Satisfies (R)(A)(Q)(T), genus 1.", ""},
    // 234
    {"", 16, -1, -1, -1, kSpring, 0, 86, 168, 62,
     "Prism-Expanded Dissected Cuboctahedron", "", "", "", "Satisfies (R)(A)(T), genus 11.", "DrillRhom.php"},
    // 235
    {"E5 / 6 J91 (P4)", 16, -1, -1, -1, kSpring, 0, 80, 168, 80,
     "Drilled Rhombicosidodecahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 5.", ""},
    // 236
    {"T5 / 12Q5 S5 (D5)", 16, -1, -1, -1, kSpring, 0, 260, 420, 140,
     "Drilled Truncated Dodecahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 11.", "DrillTDod.php"},
    // 237
    {"T5 / 7Q5 S5 (D5) R5", 16, -1, -1, -1, kSpring, 0, 165, 290, 115,
     "Partially Drilled Truncated Dodecahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 6.", ""},
    // 238
    {"", 16, -1, -1, -1, kSpring, 0, 70, 120, 50,
     "Torus Slice", "", "", "",
     "Satisfies (R)(A)(T)(D), genus 1.  This model may be seen as a slice taken from T5 / 12Q5S5(D5) [see above]", ""},
    // 239
    {"K5 / 12R5 (E5)", 16, -1, -1, -1, kSpring, 0, 280, 540, 240,
     "Rotunda-Drilled Truncated Icosidodecahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 11.", "RotDrill.php"},
    // 240
    {"K5 / 12Q5 S5 (E5)", 16, -1, -1, -1, kSpring, 0, 340, 600, 240,
     "Cupola-Drilled Truncated Icosidodecahedron", "", "", "", "Satisfies (R)(A)(Q)(T), genus 11.", ""},
    // 241
    {"Y 5/2", 17, 5, 2, -1, kSpring | kPyramid, 0, 6, 10, 6,
     "Pentagrammic Pyramid", "", "", "", "", ""},
    // 242
    {"Y 7/2", 17, 7, 2, -1, kSpring | kPyramid, 0, 8, 14, 8,
     "Heptagrammic Pyramid 1", "", "", "", "", ""},
    // 243
    {"Y 7/3", 17, 7, 3, -1, kSpring | kPyramid, 0, 8, 14, 8,
     "Heptagrammic Pyramid 2", "", "", "", "", ""},
    // 244
    {"Y <N>", 17, 5, 1, -1, kSpring | kPyramid | kFamily, -1, -1, -1, -1,
     "N-gonal Pyramid", "", "", "", "", ""},
    // 245
    {"Q 4/3", 17, 4, 3, -1, kSpring | kCupola, 0, 10, 20, 12,
     "Crossed Square Cupola", "", "", "", "", "Q4-3.php"},
    // 246
    {"Q 5/3", 17, 5, 3, -1, kSpring | kCupola, 0, 12, 25, 15,
     "Crossed Pentagrammic Cupola", "", "", "", "", "Q5-3.php"},
    // 247
    {"Q 7/3", 17, 7, 3, -1, kSpring | kCupola, 0, 16, 35, 21,
     "Heptagrammic Cupola", "", "", "", "", ""},
    // 248
    {"Q 7/5", 17, 7, 5, -1, kSpring | kCupola, 0, 16, 35, 21,
     "Crossed Heptagrammic Cupola", "", "", "", "", ""},
    // 249
    {"Q <N>", 17, 5, 1, -1, kSpring | kCupola | kFamily, -1, -1, -1, -1,
     "N-gonal Cupola", "", "", "", "", ""},
    // 250
    {"Q' 5/2", 17, 5, 2, -1, kSpring | kCuploid, 0, 11, 20, 10,
     "Pentagrammic Cuploid", "", "", "", "", ""},
    // 251
    {"Q' 5/4", 17, 5, 4, -1, kSpring | kCuploid, 0, 11, 20, 10,
     "Crossed Pentagonal Cuploid", "", "", "", "", "Cuploid5-4.php"},
    // 252
    {"Q' 7/2", 17, 7, 2, -1, kSpring | kCuploid, 0, 15, 28, 14,
     "Heptagrammic Cuploid", "", "", "", "", ""},
    // 253
    {"Q' 7/4", 17, 7, 4, -1, kSpring | kCuploid, 0, 15, 28, 14,
     "Crossed Heptagrammic Cuploid", "", "", "", "", ""},
    // 254
    {"Q' <N>", 17, 5, 1, -1, kSpring | kCuploid | kFamily, -1, -1, -1, -1,
     "N-gonal Cuploid", "", "", "", "", ""},
    // 255
    {"Q+ 2", 17, 2, 1, -1, kSpring | kBlend, 0, 8, 14, 8,
     "Digonal Cupolaic Blend", "", "", "", "", ""},
    // 256
    {"Q+ 3", 17, 3, 1, -1, kSpring | kBlend, 0, 14, 24, 12,
     "Triangular Cupolaic Blend", "", "", "", "", ""},
    // 257
    {"Q+ 4", 17, 4, 1, -1, kSpring | kBlend, 0, 18, 32, 16,
     "Square Cupolaic Blend", "", "", "", "", ""},
    // 258
    {"Q+ 4/3", 17, 4, 3, -1, kSpring | kBlend, 0, 18, 32, 16,
     "Crossed Square Cupolaic Blend", "", "", "", "", ""},
    // 259
    {"Q+ 5", 17, 5, 1, -1, kSpring | kBlend, 0, 22, 40, 20,
     "Pentagonal Cupolaic Blend", "", "", "", "", ""},
    // 260
    {"Q+ 5/3", 17, 5, 3, -1, kSpring | kBlend, 0, 22, 40, 20,
     "Crossed Pentagrammic Cupolaic Blend", "", "", "", "", ""},
    // 261
    {"Q+ 7/3", 17, 7, 3, -1, kSpring | kBlend, 0, 30, 56, 28,
     "Heptagrammic Cupolaic Blend", "", "", "", "", ""},
    // 262
    {"Q+ 7/5", 17, 7, 5, -1, kSpring | kBlend, 0, 30, 56, 28,
     "Crossed Heptagrammic Cupolaic Blend", "", "", "", "", ""},
    // 263
    {"Q+ <N>", 17, 5, 1, -1, kSpring | kBlend | kFamily, -1, -1, -1, -1,
     "N-gonal Cupolaic Blend", "", "", "", "", ""},
    // 264
    {"", 18, 3, 3, 3, 0, 5, 10, 10, 5,
     "1-Pen, 5-cell", "", "", "", "", ""},
    // 265
    {"", 18, 3, 3, 4, 0, 8, 24, 32, 16,
     "2-Tes, 8-cell, Tesseract", "", "", "", "", ""},
    // 266
    {"", 18, 3, 4, 3, 0, 16, 32, 24, 8,
     "3-Hex, 16-cell", "", "", "", "", ""},
    // 267
    {"", 18, 4, 3, 3, 0, 24, 96, 96, 24,
     "4-Ico, 24-cell", "", "", "", "", ""},
    // 268
    {"", 18, 3, -5, 3, 0, 600, 1200, 720, 120,
     "15-Gax", "", "", "", "", ""},
    // 269
    {"", 18, 3, 3, -5, 0, 120, 720, 1200, 600,
     "16-Gogishi", "", "", "", "", ""},
    // 270
    {"", 18, 3, 3, 3, 0, 24, 88, 128, 64,
     "19-Tat", "", "", "8 8 8", "", ""},
    // 271
    {"", 18, 3, 4, 4, 0, 20, 80, 120, 60,
     "307-Grip", "", "", "6 6 6", "", ""},
    // 272
    {"", 18, 3, 6, 6, 0, 56, 248, 384, 192,
     "315-Gaqrit", "", "", "8/3 4 4", "", ""},
    // 273
    {"", 18, 5, 6, 6, 0, 34, 154, 240, 120,
     "902-Tipe", "", "", "4 4 4", "", ""},
    // The terminator: every walk through the table stops at its null symbol.
    {nullptr, -1, -1, -1, -1, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, ""},
};
}  // namespace

std::span<LibraryEntry> GetLibraryTable()
{
    static const size_t count = [] {
        size_t n = 0;
        while (gLibrary[n].mSymbol)
            ++n;
        return n;
    }();
    return std::span<LibraryEntry>(gLibrary, count);
}
