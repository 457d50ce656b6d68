// Time from a click on a token to its first occurrences in the panel, in Debian's Chromium.
// Usage: node bench/site-click.mjs SITE [ROUNDS]   (playwright-core from tests/browser)
import { createRequire } from "node:module";
import path from "node:path";
import fs from "node:fs";
import { pathToFileURL } from "node:url";

const here = path.dirname(new URL(import.meta.url).pathname);
const { launch } = await import(pathToFileURL(path.join(here, "../tests/browser/browser.mjs")).href);
const site = path.resolve(process.argv[2]);
const rounds = Number(process.argv[3] || 5);

// The most frequent token of the project (the first of the tokens by count), and a page that
// shows it: the first file of its occurrence list.
const PX = {};
const run = (file) => new Function("PX", fs.readFileSync(file, "utf8"))(PX);
let top;
PX.list = (k, rows) => { top = rows[0]; };
run(path.join(site, "d/l/Tc0.js"));
const [token, count, files] = top;
let page;
PX.config = (c) => { PX.cfg = c; };
run(path.join(site, "d/config.js"));
const key = "T" + token.toUpperCase();
let h = 0x811c9dc5;
for (let i = 0; i < key.length; i++) { h ^= key.charCodeAt(i); h = Math.imul(h, 0x01000193); }
PX.occ = (n, entries) => { PX.entry = entries.find((e) => e[0].toUpperCase() === key); };
run(path.join(site, "d/o/" + ((h >>> 0) % PX.cfg.shards) + ".js"));
const firstFile = (() => { let v = 0, f = 1, i = 0; const LAST = "0123456789ABCDEFGHIJKLMNOPQRSTUV", MORE = "WXYZabcdefghijklmnopqrstuvwxyz#$";
  const s = PX.entry[3];
  for (;;) { const c = s[i++]; const l = LAST.indexOf(c); if (l >= 0) { v += l * f; break; } v += MORE.indexOf(c) * f; f *= 32; }
  return (v + 1) / 2 - 1; })();
PX.files = (k, rows) => { page = rows[firstFile - k * PX.cfg.fileChunk][1]; };
run(path.join(site, "d/f/" + Math.floor(firstFile / PX.cfg.fileChunk) + ".js"));

const ctx = await launch();
const times = [];
let loaded = 0;
for (let r = 0; r < rounds; r++) {
  const p = await ctx.newPage();
  let bytes = 0;
  p.on("response", async (res) => { try { bytes += (await res.body()).length; } catch {} });
  await p.goto(pathToFileURL(path.join(site, decodeURIComponent(page))).href);
  await p.waitForSelector("body[data-ready='1']");
  // A long page is drawn in parts after it is ready: wait for the token's first link.
  await p.waitForFunction((tok) => [...document.querySelectorAll("#code a.t")]
    .some((x) => x.textContent.toUpperCase() === tok.toUpperCase()), token);
  loaded = bytes;
  // A real click (button down, button up) on the token; the time runs from the button going
  // down to the first line of an occurrence shown in the panel.
  const box = await p.evaluate((tok) => {
    const a = [...document.querySelectorAll("#code a.t")].find((x) => x.textContent.toUpperCase() === tok.toUpperCase());
    a.scrollIntoView({ block: "center" });
    const r = a.getBoundingClientRect();
    window.__shown = new Promise((resolve) => {
      document.addEventListener("pointerdown", () => {
        const t0 = performance.now();
        const check = () => (document.querySelector("#panel .g li .x")?.textContent
          ? resolve(performance.now() - t0) : requestAnimationFrame(check));
        check();
      }, { once: true, capture: true });
    });
    return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
  }, token);
  await p.mouse.click(box.x, box.y, { delay: 30 });
  const ms = await p.evaluate(() => window.__shown);
  times.push(ms);
  await p.close();
}
await ctx.close();
times.sort((a, b) => a - b);
console.log(`largest token          ${token} (${count} occurrences in ${files} files)`);
console.log(`page opened            ${decodeURIComponent(page)} (${(loaded / 1024).toFixed(0)} KB loaded with the page)`);
console.log(`click to first lines   median ${times[times.length >> 1].toFixed(0)} ms, best ${times[0].toFixed(0)} ms, worst ${times[times.length - 1].toFixed(0)} ms (${rounds} rounds)`);
