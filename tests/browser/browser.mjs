// Starts Debian's Chromium for the site's tests and benchmark: never a downloaded browser, no
// network of its own, a fresh profile each time (removed again on close).
import { chromium } from "playwright-core";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

export const CHROMIUM = process.env.PARVEX_CHROMIUM || "/usr/bin/chromium";

export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "parvex-chromium-"));
  // Playwright names the profile folder itself (--user-data-dir) for a persistent context.
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    viewport: { width: 1280, height: 800 },
    args: [
      "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
    ],
  });
  const close = context.close.bind(context);
  context.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return context;
}
