#!/usr/bin/env python3
"""Read a CalculiX .dat of the pile deck (last time block) and print head
deflection, maximum moment and its depth.  Moment two ways:
 (a) statics from the spring reactions: M(z_i) = H z_i + sum_{j<i} P_j (z_i - z_j)
 (b) curvature of the nodal deflections: EI (u[i-1] - 2 u[i] + u[i+1]) / h^2
usage: post.py RUN.dat [n]
"""
import sys

dat = sys.argv[1]
n = int(sys.argv[2]) if len(sys.argv) > 2 else 400
L, H, EI = 960.0, 15000.0, 29.0e6 * 2549.3534
h = L / n

blocks = {}
cur = None
for line in open(dat):
    s = line.split()
    if not s:
        continue
    if s[0] in ("displacements", "forces"):
        cur = {}
        blocks[s[0]] = cur
        continue
    if cur is not None and len(s) >= 2:
        try:
            cur[int(s[0])] = float(s[1])
        except ValueError:
            pass

u = [blocks["displacements"][i + 1] for i in range(n + 1)]
P = [blocks["forces"][n + 2 + i] for i in range(n + 1)]   # force of spring on pile, x
z = [i * h for i in range(n + 1)]

Ms = []
for i in range(n + 1):
    m = H * z[i]
    for j in range(i):
        m += P[j] * (z[i] - z[j])
    Ms.append(m)
Mc = [0.0] + [EI * (u[i - 1] - 2 * u[i] + u[i + 1]) / h ** 2 for i in range(1, n)] + [0.0]


i_s = max(range(n + 1), key=lambda i: abs(Ms[i]))
i_c = max(range(n + 1), key=lambda i: abs(Mc[i]))
print(f"head deflection      {u[0]:.7f} in")
print(f"max moment (statics) {Ms[i_s]:.1f} in-lb at {z[i_s]:.1f} in")
print(f"max moment (curv.)   {Mc[i_c]:.1f} in-lb at {z[i_c]:.1f} in")
print(f"sum of spring forces {sum(P):.3f} lb (H = {H})")
print(f"moment at tip (statics) {Ms[-1]:.3f} in-lb")
for d in (0, 12, 120, 163.2, 168, 276, 480):
    i = round(d / h)
    print(f"  z={z[i]:7.1f}  u={u[i]: .6e}  p={P[i] / (h if 0 < i < n else h / 2): .4f} lb/in  M={Ms[i]:.0f}")
