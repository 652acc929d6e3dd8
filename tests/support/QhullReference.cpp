#include "support/QhullReference.h"

extern "C" {
#include <libqhull_r/qhull_ra.h>
}

#include <cstdio>

QhullCounts QhullHullCounts(const std::vector<Vec3D>& points)
{
    std::vector<coordT> coords;
    coords.reserve(points.size() * 3);
    for (const Vec3D& p : points)
        coords.insert(coords.end(), {p.x, p.y, p.z});

    qhT context;
    qhT* qh = &context;
    QhullCounts counts;
    // Errors (no solid) come back as an exit code; their text would only clutter the test log.
    FILE* quiet = std::fopen("/dev/null", "w");
    qh_zero(qh, quiet);
    char options[] = "qhull";
    const int code = qh_new_qhull(qh, 3, int(points.size()), coords.data(), False, options, nullptr, quiet);
    if (code == 0)
    {
        // Each edge borders two faces and each face lists its corners once.
        int cornerSum = 0;
        facetT* facet;
        FORALLfacets
        {
            cornerSum += qh_setsize(qh, facet->vertices);
        }
        counts.vertices = qh->num_vertices;
        counts.edges = cornerSum / 2;
        counts.faces = qh->num_facets;
    }
    qh_freeqhull(qh, !qh_ALL);
    int curLong = 0, totLong = 0;
    qh_memfreeshort(qh, &curLong, &totLong);
    if (quiet)
        std::fclose(quiet);
    return counts;
}

double QhullVolume4D(const std::vector<Vec4D>& points)
{
    std::vector<coordT> coords;
    coords.reserve(points.size() * 4);
    for (const Vec4D& p : points)
        coords.insert(coords.end(), {p.x, p.y, p.z, p.w});

    qhT context;
    qhT* qh = &context;
    FILE* quiet = std::fopen("/dev/null", "w");
    qh_zero(qh, quiet);
    char options[] = "qhull FS";
    double volume = -1.0;
    if (qh_new_qhull(qh, 4, int(points.size()), coords.data(), False, options, nullptr, quiet) == 0)
    {
        qh_getarea(qh, qh->facet_list);
        volume = qh->totvol;
    }
    qh_freeqhull(qh, !qh_ALL);
    int curLong = 0, totLong = 0;
    qh_memfreeshort(qh, &curLong, &totLong);
    if (quiet)
        std::fclose(quiet);
    return volume;
}
