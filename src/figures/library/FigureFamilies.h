#pragma once
#include <span>

#include "figures/ToolTable.h"

// The figure families. Each lists the entries of its tools for the tool table; the table gathers
// them all. A family's routines live in the file named after it.

// Palette 0 — the basic figures (figures/BasicFigures.cpp).
std::span<const ToolFigure> BasicFigures();

// Palette 0 — the common figures of the library.
std::span<const ToolFigure> PlaneShapeFigures();       // triangles, polygons, arcs, circles, planes
std::span<const ToolFigure> MechanicsPartFigures();    // pendulum, spring, mass, pulley, bullet, chain
std::span<const ToolFigure> MechanicsSceneryFigures(); // cart, table, boat, groove, track, conveyors

// Palette 1 — electric and magnetic figures.
std::span<const ToolFigure> CircuitSymbolFigures();    // lamp, cell, capacitor, meters, motor, ...
std::span<const ToolFigure> CircuitSwitchFigures();    // switches and resistors
std::span<const ToolFigure> FieldFigures();            // charges, field grids and lines, solenoid
std::span<const ToolFigure> CircuitDeviceFigures();    // wire, transformer, cells, knife switches, ...
std::span<const ToolFigure> InstrumentFigures();       // ammeter, voltmeter, galvanometer
std::span<const ToolFigure> SemiconductorFigures();    // capacitor part, transistors, amplifier

// Palette 2 — curves, solids and lenses.
std::span<const ToolFigure> CurveFigures();
std::span<const ToolFigure> FunctionGraphFigures();
std::span<const ToolFigure> SolidFigures();
std::span<const ToolFigure> LensFigures();

// Palette 3 — everyday objects and people.
std::span<const ToolFigure> EverydayObjectFigures();   // escalator, ticker tape, caliper, balance
std::span<const ToolFigure> VehicleFigures();
std::span<const ToolFigure> PeopleFigures();
