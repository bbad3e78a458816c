#pragma once
// Linear elastic subgrade: the criterion functions of the station loop
// (namespace elasticsubgrade).

#include "soil/PyCriteria.h"

namespace kestro {

// Linear elastic subgrade: p = Esub b y. pt.Aux[0] holds Esub.
namespace elasticsubgrade {
void Properties(PyPoint& pt);
void Curve(const PyPoint& pt, PyResult& r);
void PrintPage(const PyPoint& pt);
}  // namespace elasticsubgrade

}  // namespace kestro
