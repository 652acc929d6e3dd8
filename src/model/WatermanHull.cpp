#include "model/WatermanHull.h"

#include "kernel/Tolerance.h"
#include "model/ConvexHull.h"
#include "model/SimplePoly.h"

#include <cmath>

namespace
{
// Calls emit(x, y, z) once for every lattice point of the shell dMin <= |p|^2 <= X; the points
// nearer the centre cannot be corners. Two passes use it: one counts, one stores.
template <class Emit>
void ForEachShellPoint(int centre, int x2Max, Emit emit)
{
    const double s = std::sqrt(double(x2Max));
    const int dMin = int(std::floor((s - 1.0) * (s - 1.0) - k4DTol)) + 1;
    const int iMax = int(std::floor(s + k4DTol));
    for (int x = 1; x <= iMax; ++x)
    {
        for (int y = 0; y <= iMax; ++y)
        {
            const int rest = dMin - x * x - y * y;
            const int zMin = rest <= 0 ? 0 : int(std::floor(std::sqrt(double(rest)) - k4DTol)) + 1;
            for (int z = zMin; z <= iMax; ++z)
            {
                if (y == 0 && z != 0)
                    continue;
                const int parity = (x + y + z) & 1;
                if ((centre == kWatermanLatticePoint && parity) || (centre == kWatermanMidpoint && !parity))
                    continue;
                if (x * x + y * y + z * z > x2Max)
                    break;
                if (y != 0 && z != 0)
                {
                    for (int signs = 0; signs < 8; ++signs)
                        emit((signs & 1) ? -x : x, (signs & 2) ? -y : y, (signs & 4) ? -z : z);
                }
                else if (y != 0)
                {
                    for (int signs = 0; signs < 4; ++signs)
                    {
                        const int a = (signs & 1) ? -x : x, b = (signs & 2) ? -y : y;
                        emit(a, b, 0);
                        emit(0, a, b);
                        emit(b, 0, a);
                    }
                }
                else
                {
                    emit(x, 0, 0);
                    emit(-x, 0, 0);
                    emit(0, x, 0);
                    emit(0, -x, 0);
                    emit(0, 0, x);
                    emit(0, 0, -x);
                }
            }
        }
    }
}
}  // namespace

std::unique_ptr<SimplePoly> CreateWatermanHull(int centre, int root)
{
    if (root < 1 || root > 10)
        return nullptr;
    const int x2Max = centre == kWatermanSimpleCubic ? root : 2 * root;
    int count = 0;
    ForEachShellPoint(centre, x2Max, [&](int, int, int) { ++count; });
    SimplePoly points(count, 0);
    if (points.mNumVerts != count)
        return nullptr;
    points.mScale = 1.0;
    int next = 0;
    ForEachShellPoint(centre, x2Max, [&](int x, int y, int z) { points.mVerts[next++].SetPosXYZ(x, y, z); });
    return CreateConvexHull(&points, 0);
}
