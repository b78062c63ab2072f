/* Polygon triangulation: splits a planar or nearly planar polygon, given as closed loops of 3D
 * points (one outer boundary, then any holes), into triangles. Plain C interface.
 *
 * Arguments of both entry points, in order:
 *   loopCount   number of loops, at least 1; loop 0 is the outer boundary.
 *   loopSizes   loopCount point counts, each at least 3, summing to pointCount.
 *   pointCount  number of points.
 *   points      pointCount x, y, z triples, loop after loop, each loop in order around it
 *               (holes may run either way).
 *   triangles   room for 3 * (pointCount + 2 * (loopCount - 1) - 2) ints; for a single loop
 *               that is 3 * (pointCount - 2). Receives triples of 0-based point indices, each
 *               triangle counter-clockwise seen from the tip of the normal.
 *   normal      the polygon's normal (any length), or NULL to compute it from loop 0 by
 *               Newell's method.
 *
 * Result: the number of triangles written, or a negative code after which the triangle array
 * is not meaningful. What a caller gets:
 *   -6  fewer than 3 points.
 *    1  exactly 3 points: the triangle (0, 1, 2), without looking at the loops, the
 *       coordinates or the normal.
 *   -4  the arguments do not describe a polygon: a NULL array, loopCount < 1, a loop of fewer
 *       than 3 points, loop sizes that do not add up to pointCount, or a NaN or infinite
 *       coordinate. Also when the scratch memory cannot be allocated.
 *   -1  no normal given and the computed one has zero length: loop 0 lies on one line or in
 *       one point, or encloses no area (the halves of a figure eight cancelling). The
 *       single-precision entry prints "\nNormal find failed" to standard output.
 *   -3  the given normal has zero length or a non-finite component: "\nERROR: Degenerate
 *       vector: ..." is printed to standard output with its components, and the
 *       single-precision entry then prints "\nTransformation failed".
 *    2  exactly 4 points (one loop): split along the diagonal at a reflex corner, or for a
 *       convex quadrilateral the Delaunay diagonal (the points are not checked further).
 *    0  more than 4 points that enclose no area across the normal (all in one place, or on
 *       one line when a normal is given): no triangles.
 *   -5  the loops cannot be made into a consistent triangulation: the pieces of crossing or
 *       overlapping loops cannot be inserted, a loop vertex without a following loop edge,
 *       or more triangles than the room above.
 * Otherwise the triangles of the polygon. Points closer than 1e-6 to each other (measured
 * after the polygon is scaled to a unit square) count as one point, and no degenerate
 * triangle is emitted for them; a point within 1e-6 of a loop edge splits that edge.
 * Collinear runs stay boundary. Loops that cross each other or themselves are split where
 * they cross and the crossing point becomes a vertex; triangles at such a point are left out
 * (it is not an input point), the rest follow the loops, so the area near crossings is not
 * covered. A hole outside the outer loop, or touching it, gives triangles only where the
 * loops' sides agree; results stay within the room above.
 *
 * Threads: each thread keeps its own scratch memory, which only grows and is freed when the
 * thread ends, so calls may run on several threads at once. A triangulation allocates
 * nothing once the thread has seen a polygon at least as large.
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
 * so that the normal becomes +Z (after an exact power-of-two scaling when coordinates exceed
 * 2^400 or are all below 2^-400), and for more than 4 points then moved and scaled into the
 * unit square with mean z 0. After -1 or -3 the array may be scaled but is not rotated. */
MOTR_API int motrDelaunayNPd(int loopCount, const int *loopSizes, int pointCount, double *points,
                             int *triangles, const double *normal);

/* The library's version, 1.0. */
MOTR_API double motrVersionNP(void);

#ifdef __cplusplus
}
#endif

#endif
