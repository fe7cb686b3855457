// Renders the world-map images of data/maps from Natural Earth's Admin-0 country polygons
// (public domain, carried as TopoJSON by the npm package world-atlas 2.0.2).
//
//   cd tools/map_images && npm ci && node make_map_images.mjs ../../data/maps
//
// Each image is drawn in the calibration the map window uses for it: a position projects to
//   x = x0 + lon * (x180e - x180w) / 360,   y = yEq - lat * (y45s - y45n) / 90
// in image pixels; a pixel is filled by what lies under its centre, longitudes past +-180 wrap
// round, and rows beyond the poles are margin. The files are 8-bit palette PNGs.
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { deflateSync } from 'node:zlib';
import { feature, neighbors } from 'topojson-client';

const require = createRequire(import.meta.url);

// The calibration of each image (the same numbers as src/map/map_profile.cpp).
const profiles = [
  { file: 'world1723x1307.png', width: 1723, height: 1307, yEq: 660, x0: 860, y45n: 380, y45s: 940,
    x180e: 1723, x180w: 0, atlas: 'countries-50m.json' },
  { file: 'world964x464.png', width: 964, height: 464, yEq: 241, x0: 481, y45n: 119, y45s: 363,
    x180e: 962, x180w: 0, atlas: 'countries-110m.json' },
  { file: 'world600x300.png', width: 600, height: 300, yEq: 150, x0: 300, y45n: 75, y45s: 225,
    x180e: 600, x180w: 0, atlas: 'countries-110m.json' },
];

// Palette. Label text on the map is pure blue (#0000FF), which none of these is.
const SEA = 0, SEA_GRID = 1, MARGIN = 2, COAST = 3, BORDER = 4;
const FILL = 5;  // FILL + 2*k is pastel k, FILL + 2*k + 1 the same with the graticule over it
const pastels = [
  [0xf6, 0xe3, 0xa8],  // sand
  [0xc9, 0xe8, 0xb4],  // green
  [0xf5, 0xc8, 0xc0],  // rose
  [0xd8, 0xcc, 0xef],  // lavender
  [0xf7, 0xd6, 0xa6],  // apricot
  [0xbf, 0xe4, 0xdc],  // mint
  [0xe8, 0xe4, 0xb8],  // pale olive
];
const palette = [
  [0xcd, 0xe3, 0xf5],  // sea
  [0xa9, 0xc8, 0xe4],  // graticule on the sea
  [0xe2, 0xe2, 0xe2],  // beyond the poles
  [0x5d, 0x7f, 0x9c],  // coast
  [0x8f, 0x86, 0x7a],  // border between countries
];
for (const [r, g, b] of pastels) {
  palette.push([r, g, b]);
  palette.push([Math.round(r * 0.84), Math.round(g * 0.84), Math.round(b * 0.88)]);
}

// Neighbouring countries get different pastels: greedy colouring, most neighbours first.
function colourCountries(geometries) {
  const adjacent = neighbors(geometries);
  const order = geometries.map((_, i) => i).sort((a, b) => adjacent[b].length - adjacent[a].length || a - b);
  const colour = new Array(geometries.length).fill(-1);
  for (const i of order) {
    const used = new Set(adjacent[i].map((j) => colour[j]));
    let c = i % pastels.length;  // spread the colours, then step on past any taken by a neighbour
    while (used.has(c)) c = (c + 1) % pastels.length;
    colour[i] = c;
  }
  return colour;
}

function rings(geometry) {
  if (!geometry) return [];
  if (geometry.type === 'Polygon') return geometry.coordinates.map(unwrap);
  if (geometry.type === 'MultiPolygon') return geometry.coordinates.flat().map(unwrap);
  return [];
}

// A ring that crosses the 180th meridian is made continuous (longitudes may then pass +-180;
// the copies drawn one turn to each side fill both edges of the map). A ring that goes round
// a pole (Antarctica) is closed along that pole.
function unwrap(ring) {
  const out = [ring[0].slice()];
  for (let i = 1; i < ring.length; i++) {
    let lon = ring[i][0];
    const previous = out[i - 1][0];
    while (lon - previous > 180) lon -= 360;
    while (lon - previous < -180) lon += 360;
    out.push([lon, ring[i][1]]);
  }
  const turn = out[out.length - 1][0] - out[0][0];
  if (Math.abs(turn) > 180) {
    const pole = out.reduce((sum, [, lat]) => sum + lat, 0) < 0 ? -90 : 90;
    out.push([out[out.length - 1][0], pole], [out[0][0], pole], out[0]);
  }
  return out;
}

function render(p, features, colours) {
  const { width: W, height: H } = p;
  const sx = (p.x180e - p.x180w) / 360, sy = (p.y45s - p.y45n) / 90;
  const wrap = 360 * sx;
  const id = new Int32Array(W * H).fill(-1);  // -1 sea, -2 margin, else country

  features.forEach((f, n) => {
    // Edges in image pixels, copied one turn of the globe to each side so columns past
    // +-180 degrees are filled from the other edge.
    const edges = [];
    let ymin = Infinity, ymax = -Infinity;
    for (const ring of rings(f.geometry)) {
      for (let i = 0; i + 1 < ring.length; i++) {
        const [lon1, lat1] = ring[i], [lon2, lat2] = ring[i + 1];
        const y1 = p.yEq - lat1 * sy, y2 = p.yEq - lat2 * sy;
        if (y1 === y2) continue;
        for (const shift of [-wrap, 0, wrap])
          edges.push([p.x0 + lon1 * sx + shift, y1, p.x0 + lon2 * sx + shift, y2]);
        ymin = Math.min(ymin, y1, y2);
        ymax = Math.max(ymax, y1, y2);
      }
    }
    const first = Math.max(0, Math.floor(ymin - 0.5)), last = Math.min(H - 1, Math.ceil(ymax));
    const xs = [];
    for (let py = first; py <= last; py++) {
      const yc = py + 0.5;
      xs.length = 0;
      for (const [x1, y1, x2, y2] of edges)
        if ((y1 <= yc && yc < y2) || (y2 <= yc && yc < y1)) xs.push(x1 + ((yc - y1) * (x2 - x1)) / (y2 - y1));
      xs.sort((a, b) => a - b);
      for (let k = 0; k + 1 < xs.length; k += 2) {
        const from = Math.max(0, Math.ceil(xs[k] - 0.5)), to = Math.min(W, Math.ceil(xs[k + 1] - 0.5));
        for (let px = from; px < to; px++) id[py * W + px] = n;
      }
    }
  });

  for (let py = 0; py < H; py++) {
    const lat = (p.yEq - (py + 0.5)) / sy;
    if (lat > 90 || lat < -90) id.fill(-2, py * W, (py + 1) * W);
  }

  // Graticule on the field lines of the locator grid: every 20 degrees of longitude and 10 of
  // latitude, in the pixel column or row that the projection truncates to.
  const gridColumn = new Uint8Array(W), gridRow = new Uint8Array(H);
  for (let lon = -180; lon <= 180; lon += 20) {
    for (const shift of [-wrap, 0, wrap]) {
      const x = Math.trunc(p.x0 + lon * sx + shift);
      if (x >= 0 && x < W) gridColumn[x] = 1;
    }
  }
  for (let lat = -90; lat <= 90; lat += 10) {
    const y = Math.trunc(p.yEq - lat * sy);
    if (y >= 0 && y < H) gridRow[y] = 1;
  }

  const pixels = new Uint8Array(W * H);
  for (let py = 0; py < H; py++) {
    for (let px = 0; px < W; px++) {
      const i = py * W + px, here = id[i];
      const onGrid = gridColumn[px] || gridRow[py];
      if (here === -2) { pixels[i] = MARGIN; continue; }
      if (here === -1) { pixels[i] = onGrid ? SEA_GRID : SEA; continue; }
      const left = px > 0 ? id[i - 1] : here, right = px + 1 < W ? id[i + 1] : here;
      const up = py > 0 ? id[i - W] : here, down = py + 1 < H ? id[i + W] : here;
      if (left === -1 || right === -1 || up === -1 || down === -1) pixels[i] = COAST;
      else if ((right >= 0 && right !== here) || (down >= 0 && down !== here)) pixels[i] = BORDER;
      else pixels[i] = FILL + 2 * colours[here] + (onGrid ? 1 : 0);
    }
  }
  return pixels;
}

// A minimal PNG writer: 8-bit palette, no filtering, maximum compression.
const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; k++) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = crcTable[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}
function chunk(type, data) {
  const out = Buffer.alloc(12 + data.length);
  out.writeUInt32BE(data.length, 0);
  out.write(type, 4, 'latin1');
  Buffer.from(data).copy(out, 8);
  out.writeUInt32BE(crc32(out.subarray(4, 8 + data.length)), 8 + data.length);
  return out;
}
function encodePalettePng(width, height, pixels, colours) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header[8] = 8;  // bit depth
  header[9] = 3;  // colour type: palette
  const raw = Buffer.alloc(height * (width + 1));
  for (let y = 0; y < height; y++) {
    raw[y * (width + 1)] = 0;  // filter: none
    Buffer.from(pixels.buffer, y * width, width).copy(raw, y * (width + 1) + 1);
  }
  return Buffer.concat([
    Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]),
    chunk('IHDR', header),
    chunk('PLTE', Buffer.from(colours.flat())),
    chunk('IDAT', deflateSync(raw, { level: 9, memLevel: 9 })),
    chunk('IEND', Buffer.alloc(0)),
  ]);
}

const outFolder = process.argv[2] ?? '.';
mkdirSync(outFolder, { recursive: true });
for (const p of profiles) {
  const topology = JSON.parse(readFileSync(require.resolve(`world-atlas/${p.atlas}`), 'utf8'));
  const countries = topology.objects.countries;
  const features = feature(topology, countries).features;
  const colours = colourCountries(countries.geometries);
  const png = encodePalettePng(p.width, p.height, render(p, features, colours), palette);
  writeFileSync(join(outFolder, p.file), png);
  console.log(`${p.file}: ${png.length} bytes`);
}
