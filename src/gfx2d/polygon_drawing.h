#pragma once
// Free polygons with a colour and a picture position per vertex, drawn as one fan.

// Begins a polygon textured with the sprite in slot (-1: untextured); empties the list.
void StartPolygon(double slot);
// u and v are pixel positions in the sprite's picture, v from the top.
void AddPolygonVertex(double x, double y, double u, double v, double colour);
// Draws the polygon; the list stays until the next StartPolygon.
void EndPolygon();
