/* Polygon triangulation: splits a planar or nearly planar polygon, given as closed loops of 3D
 * points (one outer boundary, then any holes), into triangles. Plain C interface.
 *
 * Arguments of both entry points, in order:
 *   loopCount   number of loops, at least 1; loop 0 is the outer boundary.
 *   loopSizes   loopCount point counts, each at least 3, summing to pointCount.
 *   pointCount  number of points.
 *   points      pointCount x, y, z triples, loop after loop, each loop in order around it.
 *   triangles   room for 3 * (pointCount + 2 * (loopCount - 1) - 2) ints; for a single loop
 *               that is 3 * (pointCount - 2). Receives triples of 0-based point indices, each
 *               triangle counter-clockwise seen from the tip of the normal.
 *   normal      the polygon's normal (any length), or NULL to compute it from loop 0 (Newell).
 *
 * Result: the number of triangles written (0 when the points have no extent across the
 * normal), or a negative code; after a negative code the triangle array is not meaningful.
 *   -1  the computed normal has zero length: all of loop 0 on one line or one point, or a
 *       loop that encloses no area (both sides of a figure eight cancelling). The
 *       single-precision entry prints "\nNormal find failed" to standard output.
 *   -3  the normal cannot be turned into a rotation: a given normal of zero length or with a
 *       non-finite component. "\nERROR: Degenerate vector: ..." is printed with its components,
 *       and the single-precision entry also prints "\nTransformation failed".
 *   -4  the arguments do not describe a polygon: a NULL array, loopCount < 1, a loop of fewer
 *       than 3 points, loop sizes that do not sum to pointCount, or a NaN or infinite
 *       coordinate.
 *   -5  the loops cannot be made into a consistent triangulation (for example crossing or
 *       overlapping loops whose pieces cannot be inserted, or more triangles than the room
 *       above allows).
 *   -6  fewer than 3 points.
 * Exactly 3 points always give the one triangle (0, 1, 2) without looking at the loops or the
 * coordinates. Points closer than 1e-6 (after scaling the polygon into the unit square) count
 * as one point and no degenerate triangle is emitted for them; collinear runs are kept as
 * boundary. Self-intersecting or touching loops are split where they cross; triangles at a
 * crossing point are left out, the rest follow the loops. Holes outside the outer loop give
 * some triangles on the hole's side but never a result outside the room above or a crash.
 *
 * Threads: each thread keeps its own scratch memory, which only grows; calls may run on any
 * thread at the same time. Scratch memory of a thread is freed when the thread ends.
 */
#ifndef MOTR_H
#define MOTR_H

#if defined(MOTR_BUILDING_LIBRARY)
#define MOTR_API __attribute__((visibility("default")))
#else
#define MOTR_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Triangulates float points. The points are copied; the caller's array is left unchanged. */
MOTR_API int motrDelaunayNPf(int loopCount, const int *loopSizes, int pointCount,
                             const float *points, int *triangles, const float *normal);

/* Triangulates double points in place: for more than 3 points the caller's array is rotated
 * so that the normal becomes +Z, and for more than 4 points then scaled into the unit square
 * (any results code, including -1, -3, may leave it partly transformed). */
MOTR_API int motrDelaunayNPd(int loopCount, const int *loopSizes, int pointCount, double *points,
                             int *triangles, const double *normal);

/* The library's version, 1.0. */
MOTR_API double motrVersionNP(void);

#ifdef __cplusplus
}
#endif

#endif
