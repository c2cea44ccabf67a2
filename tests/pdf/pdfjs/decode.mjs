// Decodes the one image on the first page of each PDF file given with PDF.js
// and writes its pixels next to the file as FILE.pdfjs.ppm (binary RGB).
// PDF.js decodes images in its worker, the same code its renderer uses, and
// hands them over through the page's operator list; no canvas is needed.
// An image mask is written as it paints: 0 samples black over white paper.
//
// Usage: node decode.mjs FILE.pdf...
// Exits 1 naming the file when a file has no image or cannot be read; PDF.js
// warnings and errors go to stderr.
import { writeFileSync } from "node:fs";
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";

// PDF.js warns on loading that it cannot polyfill these two canvas classes
// from the optional canvas package; only rendering uses them, never the
// decoding done here.
globalThis.DOMMatrix ??= class DOMMatrix {};
globalThis.Path2D ??= class Path2D {};

const require = createRequire(import.meta.url);
const pdfjsPath = require.resolve("pdfjs-dist/legacy/build/pdf.mjs");
const pdfjs = await import(pdfjsPath);
pdfjs.GlobalWorkerOptions.workerSrc = require.resolve("pdfjs-dist/legacy/build/pdf.worker.mjs");

const { OPS, ImageKind, VerbosityLevel } = pdfjs;
const kImageOps = new Set([OPS.paintImageXObject, OPS.paintInlineImageXObject, OPS.paintImageMaskXObject]);

// The image's pixels as RGB bytes.
function ToRgb(image, isMask) {
  const { width, height, data, kind } = image;
  const rgb = Buffer.alloc(width * height * 3);
  if (isMask || kind === ImageKind.GRAYSCALE_1BPP) {
    // One bit per pixel, rows padded to whole bytes. A mask's 0 bits paint
    // (black); an image's 0 bits are black too.
    const rowBytes = (width + 7) >> 3;
    for (let y = 0; y < height; ++y)
      for (let x = 0; x < width; ++x) {
        const bit = (data[y * rowBytes + (x >> 3)] >> (7 - (x & 7))) & 1;
        rgb.fill(bit ? 255 : 0, (y * width + x) * 3, (y * width + x) * 3 + 3);
      }
    return rgb;
  }
  const channels = kind === ImageKind.RGB_24BPP ? 3 : 4;
  if (kind !== ImageKind.RGB_24BPP && kind !== ImageKind.RGBA_32BPP) throw new Error(`image kind ${kind}`);
  for (let i = 0; i < width * height; ++i)
    for (let c = 0; c < 3; ++c) rgb[i * 3 + c] = data[i * channels + c];
  return rgb;
}

// page.objs.get with a callback waits until the worker has sent the object.
function ImageObject(page, id) {
  const store = id.startsWith("g_") ? page.commonObjs : page.objs;
  return new Promise((resolve) => store.get(id, resolve));
}

async function DecodeFile(path) {
  const document = await pdfjs.getDocument({
    data: new Uint8Array(await readFile(path)),
    verbosity: VerbosityLevel.WARNINGS,
    isEvalSupported: false,
    useSystemFonts: false,
    stopAtErrors: true,
  }).promise;
  try {
    const page = await document.getPage(1);
    const ops = await page.getOperatorList();
    const index = ops.fnArray.findIndex((fn) => kImageOps.has(fn));
    if (index < 0) throw new Error("no image on the first page");
    const fn = ops.fnArray[index];
    const arg = ops.argsArray[index][0];
    let image = typeof arg === "string" ? await ImageObject(page, arg) : arg;
    // An image mask comes as its size and the name of the object holding
    // its bits.
    if (typeof image?.data === "string") image = { ...image, ...(await ImageObject(page, image.data)) };
    if (!image || !image.data) throw new Error("the image has no pixel data");
    const rgb = ToRgb(image, fn === OPS.paintImageMaskXObject);
    const header = Buffer.from(`P6\n${image.width} ${image.height}\n255\n`, "ascii");
    writeFileSync(`${path}.pdfjs.ppm`, Buffer.concat([header, rgb]));
  } finally {
    await document.destroy();
  }
}

let failed = false;
for (const path of process.argv.slice(2)) {
  try {
    await DecodeFile(path);
  } catch (error) {
    console.error(`${path}: ${error?.message ?? error}`);
    failed = true;
  }
}
process.exit(failed ? 1 : 0);
